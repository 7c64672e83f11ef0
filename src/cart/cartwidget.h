// A cart on screen (object name "Cartouche"): a thin view over the cart's
// logic. It owns one `Cartouche`, draws its look, hands pointer and drag
// events to its operations, and repaints only what a change names. The host
// reaches the cart's operations through cart() and hears its two events as
// the signals Survole and AffectFile. UI thread.
#pragma once

#include <QWidget>
#include <memory>

#include "audio/engine.h"
#include "cart/cartgeometry.h"
#include "cart/cartlook.h"
#include "cart/cartouche.h"

namespace quillon::cart {

class CartPicture;
class CartText;
class CartTrace;
class DropZones;
class PositionTrack;

class CartWidget : public QWidget {
  Q_OBJECT

 public:
  static constexpr Twips kWidthTwips = geometry::kCartWidth;
  static constexpr Twips kHeightTwips = geometry::kCartHeight;

  explicit CartWidget(audio::Engine& engine, QWidget* parent = nullptr);
  ~CartWidget() override;

  Cartouche& cart() { return *m_cart; }
  const Cartouche& cart() const { return *m_cart; }

 signals:
  // A drag is over this cart.
  void Survole();
  // Something was dropped on this cart; raised before the drop is looked at.
  void AffectFile();
  // Whether it plays or is paused, its title, its running time or its
  // switches changed: what an on-air view of the carts shows.
  void playingShownChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class Listener;

  void buildElements();
  void placeElements();
  void connectButtons();
  void connectKnobAndThumb();
  void setUpDropZones();
  void applyLook(LookParts parts);
  void showTitle();
  QRegion endWarningRegion() const;

  int toPixels(Twips twips) const;
  QRect toPixels(const geometry::Rect& rect) const;
  Twips toTwips(qreal pixels) const;
  QColor colourOf(TextColour colour) const;

  std::unique_ptr<Cartouche> m_cart;
  std::unique_ptr<Listener> m_listener;
  CartLook m_look;

  CartText* m_title = nullptr;               // Label1
  CartText* m_length = nullptr;              // Label7
  CartText* m_runningTime = nullptr;         // Label2
  CartText* m_letter = nullptr;              // Label3
  CartTrace* m_trace = nullptr;              // Picture6
  CartPicture* m_volumeTrack = nullptr;      // Picture5
  CartPicture* m_knob = nullptr;             // Image14
  PositionTrack* m_positionTrack = nullptr;  // Picture8
  CartPicture* m_thumb = nullptr;            // Picture9
  CartPicture* m_play = nullptr;             // Image3
  CartPicture* m_pause = nullptr;            // Pausec
  CartPicture* m_stop = nullptr;             // Stopc
  CartText* m_fadeIn = nullptr;              // Label6
  CartText* m_fadeOut = nullptr;             // Label4
  CartText* m_loop = nullptr;                // Label5
  DropZones* m_dropZones = nullptr;
};

}  // namespace quillon::cart
