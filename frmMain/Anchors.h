// Anchoring as the original window library does it: every control keeps a
// rectangle in design coordinates (for the design client size); an edge that
// is anchored keeps its distance to the same edge of the client area.
#pragma once

#include <QFlags>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace quillomar::window {

enum class TAnchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

class TAnchorLayout {
public:
    explicit TAnchorLayout(QSize aDesignSize) : fDesignSize(aDesignSize) {}

    void Add(QWidget* aWidget, QRect aDesignRect, TAnchors aAnchors);
    // Resizes a control in design coordinates. With aKeepRight its right
    // edge stays where it is (a right-aligned auto-sizing label).
    void SetSize(QWidget* aWidget, QSize aSize, bool aKeepRight);
    QRect DesignRect(const QWidget* aWidget) const;

    // Places every control for a client area of aClientSize.
    void Apply(QSize aClientSize) const;
    void Apply(QWidget* aWidget, QSize aClientSize) const;

private:
    struct TEntry {
        QWidget* Widget;
        QRect Rect;
        TAnchors Anchors;
    };
    QRect Place(const TEntry& aEntry, QSize aClientSize) const;
    TEntry* Find(const QWidget* aWidget);

    QSize fDesignSize;
    std::vector<TEntry> fEntries;
};

}  // namespace quillomar::window
