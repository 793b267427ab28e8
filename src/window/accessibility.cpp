// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "announcer.h"
#include "list_box.h"
#include "photo_box.h"
#include "picture_box.h"

#include <QAccessibleWidget>

#if QT_CONFIG(accessibility)
namespace {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
// Qt's own interface of the list, with two corrections. It states how many entries there are:
// Orca 48 otherwise counts only the rows in view ("List with 7 items"), where Orca 43 counted
// them all; Qt 6.8 is the first to carry object attributes to AT-SPI. And its help text is the
// list's own, not its name: Qt 6.8's list answers the name for every text but the description,
// and its AT-SPI bridge is the first to hand on the help text, which Orca 48 reads after the
// list ("Плочки на доминото, List with 28 items, Плочки на доминото").
class SizedList : public QAccessibleInterface, public QAccessibleAttributesInterface
{
public:
    explicit SizedList(QAccessibleInterface* qtList) : qt_(qtList) {}

    bool isValid() const override { return qt_->isValid(); }
    QObject* object() const override { return qt_->object(); }
    QWindow* window() const override { return qt_->window(); }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return qt_->relations(match);
    }
    QAccessibleInterface* focusChild() const override { return qt_->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override { return qt_->childAt(x, y); }
    QAccessibleInterface* parent() const override { return qt_->parent(); }
    QAccessibleInterface* child(int index) const override { return qt_->child(index); }
    int childCount() const override { return qt_->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return qt_->indexOfChild(child);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Help && isValid())
            return static_cast<const QWidget*>(object())->whatsThis();
        return qt_->text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override { qt_->setText(t, text); }
    QRect rect() const override { return qt_->rect(); }
    QAccessible::Role role() const override { return qt_->role(); }
    QAccessible::State state() const override { return qt_->state(); }
    QColor foregroundColor() const override { return qt_->foregroundColor(); }
    QColor backgroundColor() const override { return qt_->backgroundColor(); }
    void virtual_hook(int id, void* data) override { qt_->virtual_hook(id, data); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::AttributesInterface)
            return static_cast<QAccessibleAttributesInterface*>(this);
        return qt_->interface_cast(type);
    }

    QList<QAccessible::Attribute> attributeKeys() const override
    {
        return {QAccessible::Attribute::Custom};
    }
    QVariant attributeValue(QAccessible::Attribute key) const override
    {
        if (key != QAccessible::Attribute::Custom || !isValid())
            return {};
        const auto* list = static_cast<const ListBox*>(object());
        return QVariant::fromValue(
            QHash<QString, QString>{{QStringLiteral("setsize"), QString::number(list->count())}});
    }

private:
    // Kept, and deleted with the list, by Qt's accessibility cache, where it was made.
    QAccessibleInterface* qt_;
};

// Qt's interface for the list, made as Qt makes it: asked for again, the factory below stands
// aside and Qt's own factory answers for the list's base class.
QAccessibleInterface* qtListInterface(QObject* list, bool& askingQt)
{
    askingQt = true;
    QAccessibleInterface* qtList = QAccessible::queryAccessibleInterface(list);
    askingQt = false;
    return qtList;
}
#endif

QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    if (qobject_cast<PictureBox*>(object) || qobject_cast<PhotoBox*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (qobject_cast<Announcer*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    static bool askingQt = false;
    if (!askingQt && qobject_cast<ListBox*>(object)) {
        if (QAccessibleInterface* qtList = qtListInterface(object, askingQt))
            return new SizedList(qtList);
    }
#endif
    return nullptr;
}

} // namespace

void installWindowAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
#else
// A Qt built without accessibility (the page's) has no screen reader to present them to.
void installWindowAccessibility()
{}
#endif
