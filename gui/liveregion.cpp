#include "gui/liveregion.h"

#include <QLabel>
#include <QTimer>

#include "controls/gridaccess.h"

TLiveRegion::TLiveRegion(QLabel* label, std::function<bool()> quiet)
    : QObject(label), label_(label), quiet_(std::move(quiet)) {}

void TLiveRegion::Changed() {
    if (pending_ || !AnnouncementsHeard()) return;
    pending_ = true;
    QTimer::singleShot(0, this, &TLiveRegion::Speak);
}

void TLiveRegion::Speak() {
    pending_ = false;
    const QString text = label_->text();
    if (quiet_ && quiet_() && text == spoken_) return;
    spoken_ = text;
    AnnounceNotification(label_, text);
}
