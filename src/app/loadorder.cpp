#include "app/loadorder.h"

namespace quillon::app {

const char* loadStepName(LoadStep step) {
  switch (step) {
    case LoadStep::EmptyFavorites:
      return "EmptyFavorites";
    case LoadStep::MinimumSize:
      return "MinimumSize";
    case LoadStep::FirstRun:
      return "FirstRun";
    case LoadStep::LoadFavorites:
      return "LoadFavorites";
    case LoadStep::Carts:
      return "Carts";
    case LoadStep::ArrangeCarts:
      return "ArrangeCarts";
    case LoadStep::StudioClock:
      return "StudioClock";
    case LoadStep::AudioPlayerMain:
      return "AudioPlayerMain";
    case LoadStep::FillDeviceList:
      return "FillDeviceList";
  }
  return "?";
}

}  // namespace quillon::app
