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
  c.toolbar = c.add(Panel::Toolbar1, new Toolbar1(window));
  c.favouritesInset = c.add(Panel::Picture6, named(new QWidget(c.toolbar), "Picture6"));
  c.favouritesCaption =
      c.add(Panel::FavoriteCaption, caption("Favorite :", c.favouritesInset, "FavoriteCaption"));
  c.favouritesList =
      c.add(Panel::ComboListePalette, named(new QComboBox(c.favouritesInset), "ComboListePalette"));
  c.addFavourite =
      c.add(Panel::Command1, named(new QPushButton("Add", c.favouritesInset), "Command1"));
  c.addFavourite->setToolTip("Add a jingle palette to your favorite");
  c.clearFavourites =
      c.add(Panel::Command2, named(new QPushButton("Clear", c.favouritesInset), "Command2"));
  c.clearFavourites->setToolTip("Clear your favorite list");
  for (QWidget* w : {static_cast<QWidget*>(c.favouritesList), static_cast<QWidget*>(c.addFavourite),
                     static_cast<QWidget*>(c.clearFavourites)}) {
    w->setFont(look::uiFont(9));
    w->setFocusPolicy(Qt::NoFocus);  // the grid keeps the keyboard
  }

  c.explorerTitle =
      c.add(Panel::BarExplorer,
            named(new TitleBar("Windows Explorer >", kExplorerCaptionLeft, kCaptionTop, window),
                  "BarExplorer"));
  c.explorer =
      c.add(Panel::Explorer1,
            named(new explorer::Explorer(window, [&engine] { return engine.createInformation(); }),
                  "Explorer1"));
  c.clock = c.add(Panel::Picture2, new clock::ClockPanel(window));
  c.splitter = c.add(Panel::Picture4, named(new SplitterBar(window), "Picture4"));
  c.cartAreaTitle =
      c.add(Panel::Picture3,
            named(new TitleBar("Jingles >", kJinglesCaptionLeft, kCaptionTop, window), "Picture3"));
  c.deviceCaption = c.add(Panel::Label54, caption("- Device :", c.cartAreaTitle, "Label54"));
  c.deviceCaption->setStyleSheet("color: white; padding-right: 6px;");
  c.deviceList = c.add(Panel::Combo4, named(new QComboBox(c.cartAreaTitle), "Combo4"));
  c.deviceList->setFont(look::uiFont(9));
  c.deviceList->setFocusPolicy(Qt::NoFocus);

  c.cartViewport = c.add(Panel::Picture1, named(new CartViewport(window), "Picture1"));
  c.cartCanvas = c.add(Panel::Picture5, named(new QWidget(c.cartViewport), "Picture5"));
  c.cartCanvas->setAutoFillBackground(true);
  QPalette canvas = c.cartCanvas->palette();
  canvas.setColor(QPalette::Window, look::kCartCanvas);
  c.cartCanvas->setPalette(canvas);
  c.cartCanvas->setFocusPolicy(Qt::StrongFocus);  // where the keyboard rests
  c.cartScrollBar =
      c.add(Panel::VScroll1, named(new QScrollBar(Qt::Vertical, c.cartViewport), "VScroll1"));
  c.cartScrollBar->setFocusPolicy(Qt::NoFocus);
  c.cartViewport->setScrollBar(c.cartScrollBar);
  c.statusBar = c.add(Panel::StatusBar1, new StatusBar1(window->windowTitle(), window));

  // Above their neighbours where the design overlaps them; the splitter bar
  // stays visible when it is dragged over the cart area.
  c.splitter->raise();
  c.cartScrollBar->raise();
  c.toolbar->raise();
  c.statusBar->raise();
  return c;
}

}  // namespace quillon::app
