// The palette commands' dialogs and message boxes answered by a script, for
// tests that run the commands without a modal loop, and the favourites
// inset's widgets. Test support.
#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "palette/palettedialogs.h"

namespace quillon::palette::test {

// Each file dialog gives the next scripted answer (none left, or an empty
// one: cancelled); each call is recorded.
class ScriptedDialogs {
 public:
  struct Shown {
    std::string kind;  // "save", "open", "inform", "warn", "question"
    QString title;
    QString text;
  };

  PaletteDialogs hooks() {
    const auto message = [this](const char* kind) {
      return [this, kind](const QString& title, const QString& text) {
        shown.push_back({kind, title, text});
      };
    };
    PaletteDialogs d;
    d.askSavePath = [this](const QString& title) { return path("save", title); };
    d.askOpenPath = [this](const QString& title) { return path("open", title); };
    d.inform = message("inform");
    d.warn = message("warn");
    d.askYesNo = [this](const QString& title, const QString& text) {
      shown.push_back({"question", title, text});
      return answerYes;
    };
    d.processEvents = [this] { ++eventsProcessed; };
    return d;
  }

  std::deque<QString> paths;  // an empty string answers as a cancel
  bool answerYes = false;
  std::vector<Shown> shown;
  int eventsProcessed = 0;

 private:
  std::optional<QString> path(const char* kind, const QString& title) {
    shown.push_back({kind, title, {}});
    const QString answer = paths.empty() ? QString() : paths.front();
    if (!paths.empty()) paths.pop_front();
    return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
  }
};

// The favourites inset's list and buttons, for a Favorites under test.
struct FavoritesInsetWidgets {
  QWidget inset;
  QComboBox* list = new QComboBox(&inset);
  QPushButton* add = new QPushButton("Add", &inset);
  QPushButton* clear = new QPushButton("Clear", &inset);
};

}  // namespace quillon::palette::test
