#include "display/string_grid.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

namespace wavora {

namespace {
const QString kEmpty;
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}
int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    bool fixed = index.row() < fixedRows_ || index.column() < fixedCols_;
    switch (role) {
        case Qt::DisplayRole:
            if (source_) return QString::fromStdString(source_(index.column(), index.row()));
            return Cell(index.column(), index.row());
        case Qt::BackgroundRole:
            return fixed ? QVariant(QColor(0xF0, 0xF0, 0xF0)) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.row() < fixedRows_) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void StringGridModel::SetSource(int cols, int rows, std::function<std::string(int col, int row)> source) {
    beginResetModel();
    cols_ = std::max(cols, 0);
    rows_ = std::max(rows, 0);
    cells_.clear();
    source_ = std::move(source);
    if (!source_) cells_.resize(static_cast<size_t>(cols_) * rows_);
    endResetModel();
}

void StringGridModel::Materialize() {
    if (!source_) return;
    std::vector<QString> cells(static_cast<size_t>(cols_) * rows_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            cells[static_cast<size_t>(r) * cols_ + c] = QString::fromStdString(source_(c, r));
    source_ = nullptr;
    cells_ = std::move(cells);
}

void StringGridModel::SetSize(int cols, int rows) {
    Materialize();
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    if (cols == cols_ && rows == rows_) return;
    beginResetModel();
    std::vector<QString> next(static_cast<size_t>(cols) * rows);
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            next[static_cast<size_t>(r) * cols + c] = std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    cells_ = std::move(next);
    cols_ = cols;
    rows_ = rows;
    endResetModel();
}

void StringGridModel::SetFixed(int fixedCols, int fixedRows) {
    fixedCols_ = std::max(fixedCols, 0);
    fixedRows_ = std::max(fixedRows, 0);
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

QString StringGridModel::Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return kEmpty;
    if (source_) return QString::fromStdString(source_(col, row));
    return cells_[static_cast<size_t>(row) * cols_ + col];
}

void StringGridModel::SetCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    Materialize();
    cells_[static_cast<size_t>(row) * cols_ + col] = text;
    QModelIndex i = index(row, col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

StringGrid::StringGrid(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setDefaultSectionSize(76);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(9);
    setFont(mono);
}

void StringGrid::SetColCount(int n) {
    model_.SetSize(n, model_.Rows());
}
void StringGrid::SetRowCount(int n) {
    model_.SetSize(model_.Cols(), n);
}
void StringGrid::SetFixedRows(int n) {
    model_.SetFixed(model_.FixedCols(), n);
}
void StringGrid::SetFixedCols(int n) {
    model_.SetFixed(n, model_.FixedRows());
}

std::string StringGrid::Cell(int col, int row) const {
    return model_.Cell(col, row).toStdString();
}
void StringGrid::SetCell(int col, int row, const std::string& utf8) {
    model_.SetCell(col, row, QString::fromStdString(utf8));
}

void StringGrid::ShowListing(int cols, int rows, std::function<std::string(int col, int row)> cell) {
    model_.SetSource(cols, rows, std::move(cell));
}

void StringGrid::ClearCells() {
    model_.SetSource(model_.Cols(), model_.Rows(), nullptr);
}

int StringGrid::Row() const {
    QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void StringGrid::SetRow(int row) {
    if (row < 0 || row >= model_.Rows()) return;
    setCurrentIndex(model_.index(row, std::min(model_.FixedCols(), std::max(model_.Cols() - 1, 0))));
    selectRow(row);
}

}  // namespace wavora
