#pragma once
// A grid of text cells addressed as Cells(column, row), with fixed (heading) rows and columns, as
// the value grid of the main window and the tables of other windows use. The fixed rows are the
// grid's column headings and the fixed columns its row headings, so they stay in view while the
// other cells scroll.

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

class QLabel;

namespace wavora {

// The cells in the grid's own coordinates; the view sees only the cells that are not fixed, and
// the fixed ones as header texts (the fixed rows of a column one per line).
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void SetSize(int cols, int rows);
    // Cells made by `source` when they are shown (column, row), for a listing of many rows: no
    // text is kept for rows nobody looks at. Any later change of a cell or of the size first
    // turns the listing into stored cells.
    void SetSource(int cols, int rows, std::function<std::string(int col, int row)> source);
    void SetFixed(int fixedCols, int fixedRows);
    // The colour of the fixed rows and columns, the headings (the style's own until a window
    // asks for one).
    void SetFixedColor(const QColor& color);
    int Cols() const { return cols_; }
    int Rows() const { return rows_; }
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

  private:
    void Materialize();

    std::function<std::string(int col, int row)> source_;
    int cols_ = 5, rows_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    QColor fixedColor_;                                      // none: the style's
    std::vector<QString> cells_ = std::vector<QString>(25);  // row-major, cols_ × rows_
};

class StringGrid : public QTableView {
    Q_OBJECT
  public:
    explicit StringGrid(QWidget* parent = nullptr);

    int ColCount() const { return model_.Cols(); }
    int RowCount() const { return model_.Rows(); }
    int FixedRows() const { return model_.FixedRows(); }
    int FixedCols() const { return model_.FixedCols(); }
    // Resizing keeps the text of the cells that stay inside the grid.
    void SetColCount(int n);
    void SetRowCount(int n);
    void SetFixedRows(int n);
    void SetFixedCols(int n);
    void SetFixedColor(const QColor& color);

    std::string Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string& utf8);
    // Empties every cell.
    void ClearCells();
    // A listing whose cells are made when they are painted (see StringGridModel::SetSource); the
    // fixed rows and columns stay as they are.
    void ShowListing(int cols, int rows, std::function<std::string(int col, int row)> cell);

    // The selected row in grid rows (-1 when none); a fixed row cannot be selected.
    int Row() const;
    void SetRow(int row);
    // The current column in grid columns (-1 when none), and a move of the current cell, kept in
    // view; a fixed row or column cannot be current.
    int Col() const;
    void SetCurrentCell(int col, int row);

  protected:
    void updateGeometries() override;

  private:
    void ShowHeaders();

    StringGridModel model_;
    QLabel* corner_ = nullptr;  // the fixed cells where the fixed rows and columns meet
};

}  // namespace wavora
