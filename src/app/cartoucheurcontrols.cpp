#include "app/cartoucheurcontrols.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "app/panels.h"
#include "app/statusbar1.h"
#include "app/studiolook.h"
#include "app/toolbar1.h"
#include "clock/clockpanel.h"
#include "explorer/explorer.h"

namespace quillon::app {

namespace {

// Caption places in their title bars, in twips.
constexpr float kJinglesCaptionLeft = 375;
constexpr float kExplorerCaptionLeft = 510;
constexpr float kCaptionTop = 90;

template <typename W>
W* named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QLabel* caption(const char* text, QWidget* parent, const char* name) {
  auto* label = named(new QLabel(text, parent), name);
  label->setFont(look::uiFont(9));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

CartoucheurControls buildControls(QWidget* window, audio::Engine& engine) {
  CartoucheurControls c;
  c.toolbar1 = new Toolbar1(window);
  c.picture6 = named(new QWidget(c.toolbar1), "Picture6");
  c.favoriteCaption = caption("Favorite :", c.picture6, "FavoriteCaption");
  c.comboListePalette = named(new QComboBox(c.picture6), "ComboListePalette");
  c.command1 = named(new QPushButton("Add", c.picture6), "Command1");
  c.command1->setToolTip("Add a jingle palette to your favorite");
  c.command2 = named(new QPushButton("Clear", c.picture6), "Command2");
  c.command2->setToolTip("Clear your favorite list");
  for (QWidget* w : {static_cast<QWidget*>(c.comboListePalette), static_cast<QWidget*>(c.command1),
                     static_cast<QWidget*>(c.command2)}) {
    w->setFont(look::uiFont(9));
    w->setFocusPolicy(Qt::NoFocus);  // the grid keeps the keyboard
  }

  c.barExplorer = named(
      new TitleBar("Windows Explorer >", kExplorerCaptionLeft, kCaptionTop, window), "BarExplorer");
  c.explorer1 =
      named(new explorer::Explorer(window, [&engine] { return engine.createInformation(); }),
            "Explorer1");
  c.picture2 = new clock::ClockPanel(window);
  c.picture4 = named(new SplitterBar(window), "Picture4");
  c.picture3 =
      named(new TitleBar("Jingles >", kJinglesCaptionLeft, kCaptionTop, window), "Picture3");
  c.label54 = caption("- Device :", c.picture3, "Label54");
  c.label54->setStyleSheet("color: white; padding-right: 6px;");
  c.combo4 = named(new QComboBox(c.picture3), "Combo4");
  c.combo4->setFont(look::uiFont(9));
  c.combo4->setFocusPolicy(Qt::NoFocus);

  c.picture1 = named(new CartViewport(window), "Picture1");
  c.picture5 = named(new QWidget(c.picture1), "Picture5");
  c.picture5->setAutoFillBackground(true);
  QPalette canvas = c.picture5->palette();
  canvas.setColor(QPalette::Window, look::kCartCanvas);
  c.picture5->setPalette(canvas);
  c.picture5->setFocusPolicy(Qt::StrongFocus);  // where the keyboard rests
  c.vscroll1 = named(new QScrollBar(Qt::Vertical, c.picture1), "VScroll1");
  c.vscroll1->setFocusPolicy(Qt::NoFocus);
  c.picture1->setScrollBar(c.vscroll1);
  c.statusBar1 = new StatusBar1(window->windowTitle(), window);

  // Above their neighbours where the design overlaps them; the splitter bar
  // stays visible when it is dragged over the cart area.
  c.picture4->raise();
  c.vscroll1->raise();
  c.toolbar1->raise();
  c.statusBar1->raise();
  return c;
}

QWidget* CartoucheurControls::widgetOf(Panel panel) const {
  switch (panel) {
    case Panel::Toolbar1:
      return toolbar1;
    case Panel::Picture6:
      return picture6;
    case Panel::FavoriteCaption:
      return favoriteCaption;
    case Panel::ComboListePalette:
      return comboListePalette;
    case Panel::Command1:
      return command1;
    case Panel::Command2:
      return command2;
    case Panel::BarExplorer:
      return barExplorer;
    case Panel::Image20:
      return nullptr;
    case Panel::Explorer1:
      return explorer1;
    case Panel::Picture2:
      return picture2;
    case Panel::Picture4:
      return picture4;
    case Panel::Picture3:
      return picture3;
    case Panel::Image3:
      return nullptr;
    case Panel::Label54:
      return label54;
    case Panel::Combo4:
      return combo4;
    case Panel::Picture1:
      return picture1;
    case Panel::Picture5:
      return picture5;
    case Panel::VScroll1:
      return vscroll1;
    case Panel::StatusBar1:
      return statusBar1;
  }
  return nullptr;
}

}  // namespace quillon::app
