// A cart's public operations as the main window calls them: creation,
// binding, getters and setters, the letter key, emptying, the look, and
// files that cannot be analysed.
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

const std::string kIntro = "C:\\Jingles\\intro.mp3";

using CartModel = CartTest;

TEST_F(CartModel, ANewCartIsEmptyAtFullVolumeWithEverySwitchOff) {
  EXPECT_EQ(cart.GetTitle() + cart.Letter(), "");
  EXPECT_EQ(cart.GetVolume(), "100");
  EXPECT_EQ(cart.Getloop() + cart.GetFadein() + cart.GetFadeout(), "FalseFalseFalse");
  const CartLook look = cart.look();
  EXPECT_EQ(look.background, Background::Stop);
  EXPECT_EQ(look.titleColour(), TextColour::Black);
  EXPECT_EQ(look.letter, "A");
  EXPECT_EQ(look.length + look.runningTime, "00:0000:00");
}

TEST_F(CartModel, BindingShowsTheFileNameAndKeepsTheFullPath) {
  // The length shown comes from the analysed duration, LengthSeconds from
  // the frames and the rate: this file tells them apart.
  quillon::test::FakeFile file;
  file.frames = 110250;  // 2500 ms at 44100: 2 s, halves to even
  file.durationMs = 125500;
  media().add(kIntro, file);
  ASSERT_TRUE(cart.SetTitle(kIntro));
  EXPECT_EQ(cart.GetTitle(), kIntro);
  EXPECT_EQ(cart.look().title, "intro.mp3");
  EXPECT_EQ(cart.look().titleTooltip, kIntro);
  EXPECT_EQ(cart.look().length, "02:06");
  EXPECT_EQ(cart.LengthSeconds(), 2);
  // Binding neither starts nor stops anything.
  EXPECT_EQ(media().readerOpens, 0);
}

TEST_F(CartModel, VolumeIsKeptWithinZeroToAHundredAndMovesTheKnob) {
  // Only a damaged palette brings numbers outside.
  cart.SetVolume(3000);
  EXPECT_EQ(cart.GetVolume(), "100");
  EXPECT_FLOAT_EQ(cart.look().knobLeft, 1125.0f);
  cart.SetVolume(-20);
  EXPECT_EQ(cart.GetVolume(), "0");
  EXPECT_EQ(cart.look().knobTooltip, "Volume= 0");
}

TEST_F(CartModel, SwitchesFromNumbersOrLabelClicksAndTheirLabelColours) {
  cart.Setloop(2);  // any non-zero number is on
  cart.SetFadein(-1);
  cart.fadeOutLabelClick();
  EXPECT_EQ(cart.Getloop() + cart.GetFadein() + cart.GetFadeout(), "TrueTrueTrue");
  EXPECT_EQ(bgrOf(cart.look().loopColour()), 0xFFu);  // red
  EXPECT_EQ(cart.look().fadeInColour(), TextColour::Red);
  EXPECT_EQ(cart.look().fadeOutColour(), TextColour::Red);

  cart.loopLabelClick();
  cart.fadeInLabelClick();
  cart.fadeOutLabelClick();
  EXPECT_EQ(cart.Getloop() + cart.GetFadein() + cart.GetFadeout(), "FalseFalseFalse");
  EXPECT_EQ(bgrOf(cart.look().loopColour()), 0xFFFFFFu);  // white
  EXPECT_EQ(cart.look().fadeInColour(), TextColour::ButtonText);
  EXPECT_EQ(cart.look().fadeOutColour(), TextColour::ButtonText);
}

TEST_F(CartModel, TheLetterKeyTogglesOnlyItsOwnBoundCart) {
  cart.SetMyLetter("A");
  EXPECT_EQ(cart.look().letter, "A");
  cart.KeyPressRacc("A");  // empty: nothing to start
  EXPECT_EQ(media().readerOpens, 0);
  bindFile(kIntro, 12);
  for (const char* other : {"", "a", "B"}) {  // letter case counts
    cart.KeyPressRacc(other);
    EXPECT_FALSE(cart.Playing()) << other;
  }
  cart.KeyPressRacc("A");
  EXPECT_EQ(cart.look().background, Background::Play);
  EXPECT_EQ(cart.look().titleColour(), TextColour::White);
  advance(1s);
  cart.KeyPressRacc("A");
  expectStopped();

  cart.KeyPressRacc("A");
  cart.pauseClick();
  cart.KeyPressRacc("A");  // a paused cart stops too
  EXPECT_FALSE(cart.Playing() || cart.Paused());

  // A bound cart that has no letter yet is not fired by an empty key.
  Cartouche noLetter(engine);
  ASSERT_TRUE(noLetter.SetTitle(kIntro));
  noLetter.KeyPressRacc("");
  EXPECT_FALSE(noLetter.Playing());
}

TEST_F(CartModel, StopMyplayEmptiesTheCartKeepsItsLetterAndShowsNoLength) {
  cart.SetMyLetter("F");
  bindFile(kIntro, 125.5);
  cart.SetVolume(60);
  cart.Setloop(1);
  cart.SetFadein(1);
  cart.SetFadeout(1);
  cart.playClick();
  advance(2s);

  cart.StopMyplay();
  expectStopped();
  EXPECT_EQ(cart.GetTitle() + cart.look().title, "");
  EXPECT_EQ(cart.GetVolume(), "100");
  EXPECT_EQ(cart.Getloop() + cart.GetFadein() + cart.GetFadeout(), "FalseFalseFalse");
  EXPECT_FLOAT_EQ(cart.look().knobLeft, 1125.0f);  // not the new cart's 1120
  EXPECT_EQ(cart.Letter(), "F");
  EXPECT_EQ(cart.look().length, "00:00");  // as a cart that never held a file
  EXPECT_EQ(cart.look().runningTime, "00:00");
}

TEST_F(CartModel, TheHoverLookRepaintsOnlyWhenItChanges) {
  cart.SetSurvole();
  cart.SetSurvole();
  EXPECT_EQ(listener.changesWith(kBackgroundPart), 1);
  EXPECT_EQ(cart.look().background, Background::Drag);
  EXPECT_EQ(cart.look().titleColour(), TextColour::Black);
  cart.SetNormal();
  cart.SetNormal();
  EXPECT_EQ(listener.changesWith(kBackgroundPart), 2);
  EXPECT_EQ(cart.look().background, Background::Stop);

  bindAndPlay(kIntro, 12);
  cart.SetSurvole();
  cart.SetNormal();  // a playing cart gets its playing look back
  EXPECT_EQ(cart.look().background, Background::Play);
  EXPECT_EQ(cart.look().titleColour(), TextColour::White);
}

TEST_F(CartModel, OutputDeviceChoiceStopsThePlayingCart) {
  engine.devices.setDevices({{"Desk", true}, {"Broken", false}}, 0);
  bindAndPlay(kIntro, 12);
  EXPECT_TRUE(cart.SetDevOutput(0));
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.SetDevOutput(1));  // reported: that device cannot be used
  EXPECT_EQ(player().CurrentDevice(), 1);
  cart.playClick();  // and a start there fails quietly, showing the idle look
  expectStopped();
}

// --- Files that cannot be analysed ---

TEST_F(CartModel, AMissingFileStaysBoundMarkedMissingWithAnUnknownLength) {
  bindFile("/j/known.wav", 126);  // 02:06 before
  const BindResult result = cart.SetTitle("/j/gone.mp3");
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(cart.GetTitle(), "/j/gone.mp3");
  EXPECT_TRUE(cart.look().fileMissing);
  EXPECT_NE(cart.look().missingReason.find("/j/gone.mp3"), std::string::npos);
  EXPECT_EQ(cart.look().length, "--:--");  // not the previous file's
  EXPECT_EQ(cart.LengthSeconds(), 0);

  // Starting it analyses it again; still missing, it fails quietly.
  const int analysed = media().infoOpens;
  cart.playClick();
  EXPECT_EQ(media().infoOpens, analysed + 1);
  expectStopped();

  // Once the file is back it plays, with its right length.
  addFile("/j/gone.mp3", 20);
  cart.playClick();
  EXPECT_TRUE(cart.Playing());
  EXPECT_EQ(cart.look().missingReason, "");
  EXPECT_EQ(cart.look().length, "00:20");

  // Gone again since it was bound: marked at its next start.
  cart.stopClick();
  media().remove("/j/gone.mp3");
  cart.playClick();
  expectStopped();
  EXPECT_TRUE(cart.look().fileMissing);
  EXPECT_FALSE(cart.lastError().empty());
}

TEST_F(CartModel, AFileWithoutARateIsMarkedMissing) {
  engine.rateless = true;
  Cartouche rateless(engine);
  EXPECT_FALSE(rateless.SetTitle("/j/norate.wav"));
  EXPECT_TRUE(rateless.fileMissing());
  EXPECT_EQ(rateless.look().length, "--:--");
}

}  // namespace
}  // namespace quillon::cart::test
