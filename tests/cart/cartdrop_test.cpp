// Drags over a cart and drops on it, as the view forwards them.
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using CartDrop = CartTest;

TEST_F(CartDrop, ADroppedAudioFileIsBoundAndNotStarted) {
  addFile("C:\\Jingles\\intro.Mp3", 12);
  cart.drop(std::vector<std::string>{"C:\\Jingles\\intro.Mp3"});
  EXPECT_EQ(listener.affectFile, 1);
  EXPECT_EQ(cart.look().title, "intro.Mp3");
  EXPECT_EQ(cart.look().titleTooltip, "C:\\Jingles\\intro.Mp3");
  EXPECT_EQ(cart.look().length, "00:12");
  EXPECT_FALSE(cart.Playing());
}

TEST_F(CartDrop, DropsThatBindNothingStillRaiseAffectFile) {
  bindFile("/j/kept.wav", 5);
  addFile("/j/notes.txt", 5);
  cart.drop(std::vector<std::string>{"/j/notes.txt"});
  cart.drop(std::nullopt);  // not a file list
  EXPECT_EQ(listener.affectFile, 2);
  EXPECT_EQ(cart.GetTitle(), "/j/kept.wav");
}

TEST_F(CartDrop, AffectFileComesBeforeTheBinding) {
  struct Watcher : CountingListener {
    Cartouche* cart = nullptr;
    std::string titleAtAffect;
    void AffectFile() override { titleAtAffect = cart->GetTitle(); }
  } watcher;
  watcher.cart = &cart;
  cart.setListener(&watcher);
  bindFile("/j/old.wav", 5);
  addFile("/j/new.wav", 5);
  cart.drop(std::vector<std::string>{"/j/new.wav"});
  EXPECT_EQ(watcher.titleAtAffect, "/j/old.wav");
  EXPECT_EQ(cart.GetTitle(), "/j/new.wav");
}

TEST_F(CartDrop, OfSeveralDroppedFilesTheLastAcceptedStays) {
  addFile("a.wav", 3);
  addFile("b.doc", 3);
  addFile("c.ogg", 4);
  const int analysed = media().infoOpens;
  cart.drop(std::vector<std::string>{"a.wav", "b.doc", "c.ogg"});
  EXPECT_EQ(cart.GetTitle(), "c.ogg");
  EXPECT_EQ(media().infoOpens, analysed + 2);  // b.doc never looked at
}

TEST_F(CartDrop, ADropOnAPlayingOrPausedCartStopsItAndBindsTheNewFile) {
  addFile("/j/next.wav", 6);
  bindAndPlay("/j/a.wav", 10);
  advance(1s);
  const int opened = media().readerOpens;
  cart.drop(std::vector<std::string>{"/j/next.wav"});
  EXPECT_FALSE(cart.Playing());
  EXPECT_EQ(cart.GetTitle(), "/j/next.wav");
  EXPECT_EQ(media().readerOpens, opened);  // not started

  cart.playClick();
  cart.pauseClick();
  cart.drop(std::vector<std::string>{"/j/a.wav"});
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.Paused());
  EXPECT_EQ(cart.look().background, Background::Stop);
}

TEST_F(CartDrop, ADroppedFileThatCannotBeAnalysedShowsAsMissingUnlessAnotherFollows) {
  addFile("/j/good.ogg", 9);
  cart.drop(std::vector<std::string>{"/j/gone.wav", "/j/good.ogg"});
  EXPECT_EQ(cart.GetTitle(), "/j/good.ogg");
  EXPECT_FALSE(cart.look().fileMissing);

  cart.drop(std::vector<std::string>{"/j/gone.wav"});
  EXPECT_EQ(cart.GetTitle(), "/j/gone.wav");
  EXPECT_TRUE(cart.look().fileMissing);
  EXPECT_EQ(cart.look().length, "--:--");
}

}  // namespace
}  // namespace quillon::cart::test
