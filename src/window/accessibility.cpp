// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "announcer.h"
#include "list_box.h"
#include "photo_box.h"
#include "picture_box.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
// An entry of the list, as Qt's own list presents it.
class ListRow : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    ListRow(ListBox* list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return list_ && row_ < list_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation) const override
    {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return list_ ? QAccessible::queryAccessibleInterface(list_) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const QModelIndex index = modelIndex();
        if (t == QAccessible::Name) {
            const QString name = index.data(Qt::AccessibleTextRole).toString();
            return name.isEmpty() ? index.data(Qt::DisplayRole).toString() : name;
        }
        if (t == QAccessible::Description)
            return index.data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect inViewport = list_->visualRect(modelIndex());
        if (inViewport.isNull())
            return {};
        return inViewport.translated(list_->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        const QModelIndex index = modelIndex();
        const QRect shown(list_->mapToGlobal(QPoint(0, 0)), list_->size());
        if (!shown.intersects(rect())) {
            state.invisible = true;
            state.offscreen = true;
        }
        if (list_->selectionModel()->isSelected(index))
            state.selected = true;
        if (list_->currentIndex() == index)
            state.focused = true;
        if (index.flags() & Qt::ItemIsSelectable) {
            state.selectable = true;
            state.focusable = true;
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    // As a click on the entry: selected, and the pick made.
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            list_->SetListIndex(static_cast<std::int16_t>(row_));
    }

    int row() const { return row_; }
    const ListBox* list() const { return list_; }

private:
    QModelIndex modelIndex() const { return list_->model()->index(row_, 0); }

    QPointer<ListBox> list_;
    int row_;
};

// The list as Qt's own presents it, with two corrections. It states how many entries there
// are: Orca 48 otherwise counts only the rows in view ("List with 7 items"), where Orca 43
// counted them all; Qt 6.8 is the first to carry object attributes to AT-SPI. And its help text
// is the list's own, not its name: Qt 6.8's list answers the name for every text but the
// description, and its AT-SPI bridge is the first to hand on the help text, which Orca 48 reads
// after the list ("Плочки на доминото, List with 28 items, Плочки на доминото"). Qt's list
// cannot be had apart from its accessibility cache, so it cannot be wrapped; this stands in for
// it. Its children are the entries alone, numbered by row as Qt numbers them in the events it
// sends for the list.
class AccessibleList : public QAccessibleWidget,
                       public QAccessibleSelectionInterface,
                       public QAccessibleAttributesInterface
{
public:
    explicit AccessibleList(ListBox* list) : QAccessibleWidget(list, QAccessible::List)
    {
        const QAbstractItemModel* model = list->model();
        const auto forget = [this] { forgetRows(); };
        changes_ = {
            QObject::connect(model, &QAbstractItemModel::rowsInserted, list, forget),
            QObject::connect(model, &QAbstractItemModel::rowsRemoved, list, forget),
            QObject::connect(model, &QAbstractItemModel::rowsMoved, list, forget),
            QObject::connect(model, &QAbstractItemModel::modelReset, list, forget),
            QObject::connect(model, &QAbstractItemModel::layoutChanged, list, forget),
        };
    }
    ~AccessibleList() override
    {
        for (const QMetaObject::Connection& change : changes_)
            QObject::disconnect(change);
        forgetRows();
    }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (rows_.size() <= index)
            rows_.resize(childCount());
        if (!rows_[index]) {
            // Registered, the row is the cache's to keep until forgetRows() deletes it.
            rows_[index] = QAccessible::registerAccessibleInterface(new ListRow(list(), index));
        }
        return QAccessible::accessibleInterface(rows_[index]);
    }
    int childCount() const override { return isValid() ? list()->count() : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* row = dynamic_cast<const ListRow*>(child);
        return row && row->list() == list() && row->isValid() ? row->row() : -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = isValid() ? list()->currentIndex() : QModelIndex();
        return current.isValid() ? child(current.row()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (!isValid())
            return nullptr;
        const QModelIndex index = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::SelectionInterface)
            return static_cast<QAccessibleSelectionInterface*>(this);
        if (type == QAccessible::AttributesInterface)
            return static_cast<QAccessibleAttributesInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int selectedItemCount() const override { return selectedItems().size(); }
    QList<QAccessibleInterface*> selectedItems() const override
    {
        const int selected = isValid() ? list()->ListIndex() : -1;
        if (selected < 0)
            return {};
        return {child(selected)};
    }
    bool select(QAccessibleInterface* childItem) override
    {
        const int row = childItem ? indexOfChild(childItem) : -1;
        if (row < 0)
            return false;
        list()->SetListIndex(static_cast<std::int16_t>(row));
        return true;
    }
    // Only the program empties the selection; a pupil picks another entry.
    bool unselect(QAccessibleInterface*) override { return false; }
    bool selectAll() override { return false; }
    bool clear() override { return false; }

    QList<QAccessible::Attribute> attributeKeys() const override
    {
        return {QAccessible::Attribute::Custom};
    }
    QVariant attributeValue(QAccessible::Attribute key) const override
    {
        if (key != QAccessible::Attribute::Custom)
            return {};
        return QVariant::fromValue(
            QHash<QString, QString>{{QStringLiteral("setsize"), QString::number(childCount())}});
    }

private:
    ListBox* list() const { return static_cast<ListBox*>(widget()); }

    // Entries added, removed or moved leave the rows made so far pointing at other entries.
    void forgetRows()
    {
        for (const QAccessible::Id id : std::as_const(rows_)) {
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        }
        rows_.clear();
    }

    mutable QList<QAccessible::Id> rows_;
    QList<QMetaObject::Connection> changes_;
};
#endif

QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    if (qobject_cast<PictureBox*>(object) || qobject_cast<PhotoBox*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (qobject_cast<Announcer*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (auto* list = qobject_cast<ListBox*>(object))
        return new AccessibleList(list);
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
