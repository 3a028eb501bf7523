#include "widgets/propertygrid/propertygridview.h"

#include "widgets/propertygrid/gridlook.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

#include <algorithm>
#include <limits>

namespace widgets {

namespace {

// The start of a text that a cell or header section of the given width can show at most: a
// very long text laid out in full only to be elided would make every repaint of the grid crawl.
QString visiblePart(const QString &text, int width)
{
    const qsizetype shown = std::max(256, 4 * width);
    if (text.size() <= shown)
        return text;
    return text.left(text.at(shown - 1).isHighSurrogate() ? shown - 1 : shown);
}

// Header sections that take no size from their texts (the grid sets every size) and lay out only
// the visible part of a text.
class GridHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->text = visiblePart(option->text, orientation() == Qt::Horizontal ? sectionSize(logicalIndex) : width());
    }

    QSize sectionSizeFromContents(int) const override
    {
        return QSize(defaultSectionSize(), defaultSectionSize());
    }
};

} // namespace

// Edits cells with a plain line edit and remembers the one editor that is open, so that the view
// can tell a real end of an edit from a second notice about the same editor, and can close an
// editor whose cell a handler has made read-only.
class GridCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        // The default limit of 32767 would cut a long text that is merely passed through an edit.
        editor->setMaxLength(std::numeric_limits<int>::max());
        m_editor = editor;
        m_index = index;
        return editor;
    }

    // An edit that changed nothing writes nothing back, so a text the line edit cannot hold as
    // it is (line breaks, say) survives being opened and closed.
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *lineEdit = qobject_cast<QLineEdit *>(editor); lineEdit && !lineEdit->isModified())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (editor == m_editor) {
            m_editor = nullptr;
            m_index = QPersistentModelIndex();
        }
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = visiblePart(option->text, option->rect.width());
    }

    QWidget *openEditor() const { return m_editor; }
    QModelIndex openEditorIndex() const { return m_index; }

private:
    // createEditor() and destroyEditor() are const in Qt's interface.
    mutable QPointer<QWidget> m_editor;
    mutable QPersistentModelIndex m_index;
};

PropertyGridView::PropertyGridView(QWidget *parent)
    : QTableWidget(parent), m_delegate(new GridCellDelegate(this)), m_style(new GridStyle(this))
{
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    setStyle(m_style);
    horizontalHeader()->setStyle(m_style);
    verticalHeader()->setStyle(m_style);
    setItemDelegate(m_delegate);
    QCoreApplication::instance()->installEventFilter(this);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked);
    setWordWrap(false);

    // The headers are the fixed cells: sized by the program, never by the user, and inert to
    // clicks (a click on a row header would otherwise select a whole row).
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(0);
        header->setHighlightSections(false);
    }
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Cell (0, 0) is drawn on the corner button; it selects nothing when clicked.
    setCornerButtonEnabled(false);
    for (QAbstractButton *button : findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly)) {
        if (button->inherits("QTableCornerButton")) {
            m_corner = button;
            m_corner->installEventFilter(this);
        }
    }

    // A light selection that keeps black text readable.
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, QColor(0xCC, 0xE8, 0xFF));
        colours.setColor(group, QPalette::HighlightedText, Qt::black);
        colours.setColor(group, QPalette::Text, Qt::black);
        colours.setColor(group, QPalette::Base, Qt::white);
    }
    applyColours(colours);

    setRowCount(1);
    setColumnCount(1);
}

// An edit still open is dropped without editEnded: the focus change of the editor's destruction would
// otherwise report it while the grid is half gone, to handlers that may be gone already.
PropertyGridView::~PropertyGridView()
{
    blockSignals(true);
}

void PropertyGridView::setRowCount(int rows)
{
    rows = std::max(rows, 1);
    QTableWidget::setRowCount(rows - 1);
    fillMissingHeaderItems();
    horizontalHeader()->setFixedHeight(m_defaultRowHeight);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    for (int row = 0; row < rows - 1; ++row)
        verticalHeader()->resizeSection(row, m_defaultRowHeight);
    updateGeometries();
}

void PropertyGridView::setColumnCount(int columns)
{
    columns = std::max(columns, 1);
    QTableWidget::setColumnCount(columns - 1);
    fillMissingHeaderItems();
    verticalHeader()->setFixedWidth(DefaultColumnWidth);
    horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    for (int column = 0; column < columns - 1; ++column)
        horizontalHeader()->resizeSection(column, DefaultColumnWidth);
    updateGeometries();
}

int PropertyGridView::rowCount() const
{
    return QTableWidget::rowCount() + 1;
}

int PropertyGridView::columnCount() const
{
    return QTableWidget::columnCount() + 1;
}

void PropertyGridView::setDefaultRowHeight(int height)
{
    m_defaultRowHeight = std::max(height, 0);
    horizontalHeader()->setFixedHeight(m_defaultRowHeight);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    for (int row = 0; row < QTableWidget::rowCount(); ++row)
        verticalHeader()->resizeSection(row, m_defaultRowHeight);
    updateGeometries();
}

void PropertyGridView::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columnCount())
        return;
    width = std::clamp(width, 0, horizontalHeader()->maximumSectionSize());
    if (column == 0) {
        verticalHeader()->setFixedWidth(width);
        // A header's fixed size reaches the view's layout only later; the cells move now.
        updateGeometries();
    } else {
        horizontalHeader()->resizeSection(column - 1, width);
    }
}

int PropertyGridView::columnWidth(int column) const
{
    if (column == 0)
        return verticalHeader()->width();
    return QTableWidget::columnWidth(column - 1);
}

int PropertyGridView::rowHeight(int row) const
{
    if (row == 0)
        return horizontalHeader()->height();
    return QTableWidget::rowHeight(row - 1);
}

void PropertyGridView::setCellText(int row, int column, const QString &text)
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return;
    if (row == 0 && column == 0) {
        if (m_cornerText == text)
            return;
        m_cornerText = text;
        if (m_corner)
            m_corner->update();
    } else if (row == 0) {
        horizontalHeaderItem(column - 1)->setText(text);
    } else if (column == 0) {
        verticalHeaderItem(row - 1)->setText(text);
    } else if (QTableWidgetItem *cell = item(row - 1, column - 1)) {
        cell->setText(text);
    } else {
        setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

QString PropertyGridView::cellText(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return {};
    if (row == 0 && column == 0)
        return m_cornerText;
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(column - 1)
                                 : column == 0 ? verticalHeaderItem(row - 1)
                                               : item(row - 1, column - 1);
    return cell ? cell->text() : QString();
}

void PropertyGridView::setCellsReadOnly(int firstRow, int firstColumn, int lastRow, int lastColumn, bool readOnly)
{
    if (firstRow > lastRow)
        std::swap(firstRow, lastRow);
    if (firstColumn > lastColumn)
        std::swap(firstColumn, lastColumn);
    // Header cells are left out: they are never editable.
    const int top = std::max(firstRow, 1);
    const int left = std::max(firstColumn, 1);
    const int bottom = std::min(lastRow, rowCount() - 1);
    const int right = std::min(lastColumn, columnCount() - 1);
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            QTableWidgetItem *cell = item(row - 1, column - 1);
            if (!cell) {
                cell = new QTableWidgetItem;
                setItem(row - 1, column - 1, cell);
            }
            cell->setFlags(readOnly ? cell->flags() & ~Qt::ItemIsEditable : cell->flags() | Qt::ItemIsEditable);
        }
    }
}

bool PropertyGridView::isCellEditable(int row, int column) const
{
    if (row < 1 || column < 1 || row >= rowCount() || column >= columnCount())
        return false;
    const QTableWidgetItem *cell = item(row - 1, column - 1);
    return !cell || (cell->flags() & Qt::ItemIsEditable);
}

void PropertyGridView::setGridLineColour(const QColor &colour)
{
    m_gridLineColour = colour;
    applyColours(palette());
}

void PropertyGridView::setBackgroundColour(const QColor &colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour.isValid() ? colour : QColor(Qt::white));
    applyColours(colours);
}

void PropertyGridView::setColours(const QColor &gridLines, const QColor &background)
{
    m_gridLineColour = gridLines;
    setBackgroundColour(background);
}

// One palette change for every colour of the grid; it repaints the grid, its headers and corner.
void PropertyGridView::applyColours(QPalette colours)
{
    const QColor lines = m_gridLineColour.isValid() ? m_gridLineColour : colours.color(QPalette::Mid);
    m_style->setColours({lines, colours.color(QPalette::Base), colours.color(QPalette::Button),
                         colours.color(QPalette::ButtonText)});
    // A disabled grid keeps showing its content; its current cell stays marked, but lightly.
    colours.setColor(QPalette::Disabled, QPalette::Highlight, lines);
    colours.setColor(QPalette::Disabled, QPalette::HighlightedText, QColor(0x80, 0x80, 0x80));
    setPalette(colours);
}

QWidget *PropertyGridView::openEditor() const
{
    return m_delegate->openEditor();
}

void PropertyGridView::finishEdit()
{
    QWidget *editor = m_delegate->openEditor();
    if (!editor)
        return;
    // The delegate's own way of ending an edit: commit, then close, which raises editEnded.
    emit m_delegate->commitData(editor);
    emit m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// A click on the current cell opens its editor at once. Qt would wait for a double click first, and
// what the user typed in that time went astray: into the cell below, or nowhere.
bool PropertyGridView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (trigger == SelectedClicked)
        return QTableWidget::edit(index, EditKeyPressed, nullptr);
    return QTableWidget::edit(index, trigger, event);
}

void PropertyGridView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Only the close of the open editor ends an edit; a late second notice about it does not.
    const bool ending = editor && editor == m_delegate->openEditor();
    // The base writes nothing (the delegate committed before this call); for Tab it opens the
    // next cell's editor.
    QTableWidget::closeEditor(editor, hint);
    if (!ending)
        return;
    emit editEnded();
    dropStaleEditor();
}

// A handler of editEnded may have rebuilt the grid while the editor that Tab opened was showing.
// Qt refreshes that editor when its cell's text is rewritten and releases it when its row or
// column is dropped, but leaves it open when the cell has become read-only.
void PropertyGridView::dropStaleEditor()
{
    QWidget *editor = m_delegate->openEditor();
    if (!editor)
        return;
    const QModelIndex index = m_delegate->openEditorIndex();
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void PropertyGridView::fillMissingHeaderItems()
{
    // A section without an item shows its number; the grid's fixed cells start empty instead.
    for (int column = 0; column < QTableWidget::columnCount(); ++column) {
        if (!horizontalHeaderItem(column))
            setHorizontalHeaderItem(column, new QTableWidgetItem(QString()));
    }
    for (int row = 0; row < QTableWidget::rowCount(); ++row) {
        if (!verticalHeaderItem(row))
            setVerticalHeaderItem(row, new QTableWidgetItem(QString()));
    }
}

bool PropertyGridView::eventFilter(QObject *watched, QEvent *event)
{
    // A press anywhere outside the open editor ends the edit, also on things that take no focus
    // (the design window, a label): the typed text must not wait for a later, unrelated click.
    if (event->type() == QEvent::MouseButtonPress && m_delegate->openEditor()) {
        QWidget *editor = m_delegate->openEditor();
        auto *target = qobject_cast<QWidget *>(watched);
        if (target && target != editor && !editor->isAncestorOf(target)
            && target->window()->windowType() != Qt::Popup)
            finishEdit();
    }
    if (watched == m_corner && event->type() == QEvent::Paint) {
        paintCorner(m_corner);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void PropertyGridView::paintCorner(QWidget *corner)
{
    // Drawn as a section of the horizontal header, whose palette and enabled state follow the
    // grid's (the corner button itself is disabled so that it selects nothing).
    QStyleOptionHeader option;
    option.initFrom(horizontalHeader());
    option.rect = corner->rect();
    option.text = visiblePart(m_cornerText, corner->width());
    option.textAlignment = horizontalHeader()->defaultAlignment();
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.state |= QStyle::State_Raised;
    QPainter painter(corner);
    painter.setFont(horizontalHeader()->font());
    horizontalHeader()->style()->drawControl(QStyle::CE_Header, &option, &painter, horizontalHeader());
}

} // namespace widgets
