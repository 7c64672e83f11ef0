// JACK keeps every server of the machine in one registry of 8 slots, and
// frees the slot of a server that died without unregistering (killed, as a
// crash would) only when a server of the same name starts again. Servers
// of other names, killed by other runs, can so fill the registry, and no
// server starts any more ("Too many servers already active"). Test support.
#pragma once

namespace quillon::test {

// Starts and cleanly stops a server under the name of each dead server
// whose files remain (a live one takes a client and is left alone), which
// frees their slots; the number freed.
int reclaimDeadServerSlots();

}  // namespace quillon::test
