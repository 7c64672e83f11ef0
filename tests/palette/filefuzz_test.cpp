// Whole damaged files on disk, made from a few realistic palettes and
// Config.ini files (8-bit, UTF-8 and UTF-16) by a fixed-seed generator, so
// every run meets the same files. Each is loaded into 26 carts and read as
// the favourites; whatever came in must save and load back the same, and
// nothing may crash or wait (the sanitizer build runs this too).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "cartgrid.h"
#include "mutator.h"
#include "palette/favoritelinks.h"
#include "palette/palettecarts.h"

namespace quillon::palette::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Unoptimised builds (the sanitizer run) are many times slower: they run the
// first part of the same sequence.
#ifdef NDEBUG
constexpr int kRounds = 1500;
#else
constexpr int kRounds = 300;
#endif

std::string utf16(std::string_view ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

// The seeds name files in `folder`: a palette, a pipe, a folder, a missing file.
std::vector<std::string> seedsIn(const std::string& folder) {
  const std::string palette =
      "[0]\r\nTITLE=" + folder +
      "/ident.mp3\r\nVOLUME=80\r\nLOOP=0\r\nFADEIN=1\r\nFADEOUT=0\r\n"
      "[1]\r\nTITLE=\r\nVOLUME=100\r\n[ 25 ]\r\n title = C:\\Jingles\\x.wav \r\nLOOP=-1\r\n"
      "[40]\r\nTITLE=kept\r\n";
  const std::string config = "[FirstExec]\nValue=1\n[FavorisLink]\n1=" + folder +
                             "/show.pal\n2=" + folder + "/pipe.pal\n3=" + folder +
                             "/folder.pal\n4=" + folder + "/gone.pal\n5=" + folder +
                             "/show.pal\n6=" + folder + "/other.pal\n[Favoris]\nNb=6\n";
  return {palette,
          config,
          "\xEF\xBB\xBF[0]\nTITLE=/srv/\xC3\xA9t\xC3\xA9.ogg\nVOLUME=32768\n[3]\rTITLE=Caf\xE9\r",
          utf16(palette, false),
          utf16(config, true),
          "[Favoris]\nNb=99999999999999999999\n[FavorisLink]\n1=" + folder + "/show.pal\n0\0=x\n"s};
}

const std::vector<std::string> kTokens = {
    "[",    "]",     "=",     "\r",    "\n",     "\0"s,  "\xFF\xFE",    "\xFE\xFF", "\xD8",
    "\xDC", "\xE9",  "\xC3",  "[0]",   "TITLE=", "Nb=",  "32767",       "-32769",   "2.5",
    " ",    "[ 1 ]", "\0\n"s, "\n\0"s, "\0[\0"s, "=\0"s, "\xEF\xBB\xBF"};

// What a cart holds, as the palette stores it.
using CartState = std::array<std::string, 5>;
std::vector<CartState> statesOf(const std::vector<cart::Cartouche*>& carts) {
  std::vector<CartState> states;
  for (const cart::Cartouche* c : carts) {
    states.push_back(
        {c->GetTitle(), c->GetVolume(), c->Getloop(), c->GetFadein(), c->GetFadeout()});
  }
  return states;
}

// On a RAM disk where there is one: every save is flushed to the disk.
fs::path fuzzRoot() {
  std::error_code error;
  if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return {};
}

class FileFuzz : public CartGridTest {};

TEST_F(FileFuzz, DamagedPalettesAndConfigFilesLoadSaveAndLoadBackTheSame) {
  TempFolder place(fuzzRoot());
  writeBytes(place / "show.pal", "[0]\nTITLE=/j/a.mp3\n");
  writeBytes(place / "other.pal", "");
  ASSERT_EQ(::mkfifo((place / "pipe.pal").c_str(), 0600), 0);
  fs::create_directory(place / "folder.pal");
  const std::vector<std::string> seeds = seedsIn(place.path().string());

  CartGrid again(engine);
  Mutator mutator(20261207, seeds, kTokens);
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string bytes = mutator.mutate(mutator.pick(seeds));
    writeBytes(place / "damaged.ini", bytes);

    LoadPaletteFile(carts, place / "damaged.ini");
    fs::remove(place / "saved.pal");
    ASSERT_TRUE(savePaletteFile(carts, place / "saved.pal"));
    LoadPaletteFile(again.carts, place / "saved.pal");
    ASSERT_EQ(statesOf(again.carts), statesOf(carts));

    FavoriteLinks links;
    links.LoadFavorites(place / "damaged.ini");
    for (std::size_t k = 1; k <= links.count(); ++k) {
      ASSERT_TRUE(fs::is_regular_file(links.link(k))) << links.link(k);
    }
    fs::remove(place / "Config.ini");
    ASSERT_TRUE(links.SaveFavorites(place / "Config.ini"));
    FavoriteLinks reread;
    reread.LoadFavorites(place / "Config.ini");
    ASSERT_EQ(reread.links(), links.links());
  }
}

}  // namespace
}  // namespace quillon::palette::test
