#include "Anchors.h"

#include <QWidget>
#include <algorithm>

namespace quillomar::window {

void TAnchorLayout::Add(QWidget* aWidget, QRect aDesignRect, TAnchors aAnchors) {
    fEntries.push_back({aWidget, aDesignRect, aAnchors});
}

TAnchorLayout::TEntry* TAnchorLayout::Find(const QWidget* aWidget) {
    for (TEntry& lEntry : fEntries) {
        if (lEntry.Widget == aWidget) return &lEntry;
    }
    return nullptr;
}

QRect TAnchorLayout::DesignRect(const QWidget* aWidget) const {
    for (const TEntry& lEntry : fEntries) {
        if (lEntry.Widget == aWidget) return lEntry.Rect;
    }
    return {};
}

void TAnchorLayout::SetSize(QWidget* aWidget, QSize aSize, bool aKeepRight) {
    TEntry* lEntry = Find(aWidget);
    if (!lEntry) return;
    const int lRightEdge = lEntry->Rect.x() + lEntry->Rect.width();
    lEntry->Rect.setSize(aSize);
    if (aKeepRight) lEntry->Rect.moveLeft(lRightEdge - aSize.width());
}

QRect TAnchorLayout::Place(const TEntry& aEntry, QSize aClientSize) const {
    const int lDw = aClientSize.width() - fDesignSize.width();
    const int lDh = aClientSize.height() - fDesignSize.height();
    int x = aEntry.Rect.x(), y = aEntry.Rect.y(), w = aEntry.Rect.width(), h = aEntry.Rect.height();
    const bool lLeft = aEntry.Anchors.testFlag(TAnchor::Left), lRight = aEntry.Anchors.testFlag(TAnchor::Right);
    const bool lTop = aEntry.Anchors.testFlag(TAnchor::Top), lBottom = aEntry.Anchors.testFlag(TAnchor::Bottom);
    if (lLeft && lRight) w += lDw;
    else if (lRight) x += lDw;
    else if (!lLeft) x += lDw / 2;
    if (lTop && lBottom) h += lDh;
    else if (lBottom) y += lDh;
    else if (!lTop) y += lDh / 2;
    return QRect(x, y, std::max(w, 0), std::max(h, 0));
}

void TAnchorLayout::Apply(QSize aClientSize) const {
    for (const TEntry& lEntry : fEntries) lEntry.Widget->setGeometry(Place(lEntry, aClientSize));
}

void TAnchorLayout::Apply(QWidget* aWidget, QSize aClientSize) const {
    for (const TEntry& lEntry : fEntries) {
        if (lEntry.Widget == aWidget) lEntry.Widget->setGeometry(Place(lEntry, aClientSize));
    }
}

}  // namespace quillomar::window
