#!/usr/bin/python3
"""A read-only mirror of a folder whose reads can be made to hang, to try the
program as an operator would with a file on a stalled network share.

    scripts/stallfs.py SOURCE MOUNTPOINT        # mounts in the foreground
    touch /tmp/quillon-stallfs-hold             # from now on, reads hang
    rm /tmp/quillon-stallfs-hold                # the hung reads return

While the hold file exists, every read (and open) of a file whose name
contains the text in the hold file (every file when it is empty) waits until
the hold file is removed. Needs python3-fuse; run as root (or with
/dev/fuse usable); unmount with `fusermount3 -u MOUNTPOINT` or Ctrl-C.
"""
import errno
import os
import sys
import time

import fuse

fuse.fuse_python_api = (0, 2)
HOLD = "/tmp/quillon-stallfs-hold"


def held(path):
    try:
        with open(HOLD) as f:
            text = f.read().strip()
    except FileNotFoundError:
        return False
    return text == "" or text in path


def wait_while_held(path):
    while held(path):
        time.sleep(0.05)


class StallFs(fuse.Fuse):
    def __init__(self, source, *args, **kw):
        super().__init__(*args, **kw)
        self.source = source

    def real(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path):
        try:
            return os.lstat(self.real(path))
        except OSError as e:
            return -e.errno

    def readdir(self, path, offset):
        for name in [".", ".."] + os.listdir(self.real(path)):
            yield fuse.Direntry(name)

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            return -errno.EROFS
        wait_while_held(path)
        return 0 if os.path.exists(self.real(path)) else -errno.ENOENT

    def read(self, path, size, offset):
        wait_while_held(path)
        with open(self.real(path), "rb") as f:
            f.seek(offset)
            return f.read(size)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    source, mountpoint = os.path.abspath(sys.argv[1]), sys.argv[2]
    server = StallFs(source, version="%prog 1.0", dash_s_do="setsingle")
    server.fuse_args.mountpoint = mountpoint
    server.fuse_args.setmod("foreground")
    server.multithreaded = True
    server.parse(["-o", "ro,allow_other,direct_io"], errex=1)
    server.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
