// The order of the main window's load step, run once its controls exist and
// before it is first shown; each step starts when the one before has ended.
// The single-instance test comes before all of them, first thing in main(),
// so that a second start reads and writes nothing.
#pragma once

#include <array>

namespace quillon::app {

enum class LoadStep {
  EmptyFavorites,   // FavoriteLinks back to its entry 0
  MinimumSize,      // the smallest outer window
  FirstRun,         // the welcome page, once
  LoadFavorites,    // the favourites from Config.ini
  Carts,            // carts 1 to 25 as copies of cart 0, letters "A" to "Z"
  ArrangeCarts,     // the grid's first layout
  StudioClock,      // BuildLedRing, ResetLedRing, FillLedRing
  AudioPlayerMain,  // the window's own player
  FillDeviceList,   // Combo4 from AudioPlayerMain
};

inline constexpr std::array kLoadOrder = {
    LoadStep::EmptyFavorites, LoadStep::MinimumSize,     LoadStep::FirstRun,
    LoadStep::LoadFavorites,  LoadStep::Carts,           LoadStep::ArrangeCarts,
    LoadStep::StudioClock,    LoadStep::AudioPlayerMain, LoadStep::FillDeviceList,
};

}  // namespace quillon::app
