#pragma once

#include <QColor>
#include <QTableWidget>

namespace widgets {

class GridCellDelegate;
class GridStyle;

// A grid of text cells whose row 0 and column 0 are fixed header cells. The fixed cells live in
// Qt's own headers, so keyboard navigation and screen readers see an ordinary table:
//   grid (0, 0)           the corner button
//   grid (0, c), c >= 1   horizontal header section c - 1
//   grid (r, 0), r >= 1   vertical header section r - 1
//   grid (r, c)           table cell (r - 1, c - 1)
// The functions below that share a name with QTableWidget's take grid coordinates and counts;
// QTableWidget's own remain reachable by qualified name and count table cells only.
class PropertyGridView : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr int DefaultColumnWidth = 64;

    explicit PropertyGridView(QWidget *parent = nullptr);
    ~PropertyGridView() override;

    // At least 1. Rows or columns beyond the new count are dropped with their texts and read-only
    // marks; new ones are empty. Even with an unchanged count every row gets the default height,
    // or every column the default width.
    void setRowCount(int rows);
    void setColumnCount(int columns);
    int rowCount() const;
    int columnCount() const;

    // The height of every row, the header row included, from the next setRowCount on; applied to
    // the present rows at once as well.
    void setDefaultRowHeight(int height);
    int defaultRowHeight() const { return m_defaultRowHeight; }

    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;
    int rowHeight(int row) const;

    // Cells outside the grid are ignored on write and read as empty.
    void setCellText(int row, int column, const QString &text);
    QString cellText(int row, int column) const;

    // Marks the cells of a rectangle, clipped to the grid; header cells are never editable anyway.
    void setCellsReadOnly(int firstRow, int firstColumn, int lastRow, int lastColumn, bool readOnly);
    bool isCellEditable(int row, int column) const;

    // Invalid colours stand for the style's grid lines and a white background.
    void setGridLineColour(const QColor &colour);
    void setBackgroundColour(const QColor &colour);
    // Both at once.
    void setColours(const QColor &gridLines, const QColor &background);

    // The in-place editor open now, if any (for tests and for whoever must know an edit is on).
    QWidget *openEditor() const;
    // Ends an open edit as a click elsewhere would: the text is taken and editEnded is raised.
    void finishEdit();

signals:
    // Once after every end of an in-place edit, committed or cancelled, when the cell already
    // holds its final text. A handler may rebuild the whole grid.
    void editEnded();

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillMissingHeaderItems();
    void dropStaleEditor();
    void paintCorner(QWidget *corner);
    void applyColours(QPalette colours);

    GridCellDelegate *m_delegate;
    GridStyle *m_style;
    QWidget *m_corner = nullptr;
    QString m_cornerText;
    QColor m_gridLineColour;
    int m_defaultRowHeight = 26;
};

} // namespace widgets
