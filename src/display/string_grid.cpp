#include "display/string_grid.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <algorithm>

namespace wavora {

namespace {
constexpr int kColumnWidth = 76;
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(rows_ - fixedRows_, 0);
}
int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(cols_ - fixedCols_, 0);
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return Cell(index.column() + fixedCols_, index.row() + fixedRows_);
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole) return fixedColor_.isValid() ? QVariant(fixedColor_) : QVariant();
    if (role != Qt::DisplayRole) return {};
    QStringList lines;
    if (orientation == Qt::Horizontal) {
        for (int r = 0; r < fixedRows_; ++r) lines << Cell(section + fixedCols_, r);
        return lines.join('\n');
    }
    for (int c = 0; c < fixedCols_; ++c) lines << Cell(c, section + fixedRows_);
    return lines.join(' ');
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
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
    fixedCols = std::max(fixedCols, 0);
    fixedRows = std::max(fixedRows, 0);
    if (fixedCols == fixedCols_ && fixedRows == fixedRows_) return;
    beginResetModel();
    fixedCols_ = fixedCols;
    fixedRows_ = fixedRows;
    endResetModel();
}

void StringGridModel::SetFixedColor(const QColor& color) {
    fixedColor_ = color;
    if (cols_ > fixedCols_) emit headerDataChanged(Qt::Horizontal, 0, cols_ - fixedCols_ - 1);
    if (rows_ > fixedRows_) emit headerDataChanged(Qt::Vertical, 0, rows_ - fixedRows_ - 1);
}

QString StringGridModel::Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return {};
    if (source_) return QString::fromStdString(source_(col, row));
    return cells_[static_cast<size_t>(row) * cols_ + col];
}

void StringGridModel::SetCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    Materialize();
    cells_[static_cast<size_t>(row) * cols_ + col] = text;
    if (row < fixedRows_ && col >= fixedCols_) {
        emit headerDataChanged(Qt::Horizontal, col - fixedCols_, col - fixedCols_);
    } else if (col < fixedCols_ && row >= fixedRows_) {
        emit headerDataChanged(Qt::Vertical, row - fixedRows_, row - fixedRows_);
    } else if (row >= fixedRows_ && col >= fixedCols_) {
        QModelIndex i = index(row - fixedRows_, col - fixedCols_);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }
}

StringGrid::StringGrid(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(9);
    setFont(mono);
    horizontalHeader()->setFont(mono);
    verticalHeader()->setFont(mono);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(kColumnWidth);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    corner_ = new QLabel(this);
    corner_->setFont(mono);
    corner_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    corner_->setAutoFillBackground(true);
    connect(&model_, &QAbstractItemModel::headerDataChanged, this, [this] { updateGeometries(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { updateGeometries(); });
    ShowHeaders();
}

// The corner shows the fixed cells of the fixed rows in the fixed columns (the headings of the
// headings, such as "Unit" and "Max"), one fixed row a line.
void StringGrid::updateGeometries() {
    QTableView::updateGeometries();
    if (!corner_) return;
    const bool shown = horizontalHeader()->isVisible() && verticalHeader()->isVisible();
    corner_->setVisible(shown);
    if (!shown) return;
    QStringList lines;
    for (int r = 0; r < model_.FixedRows(); ++r) {
        QStringList cells;
        for (int c = 0; c < model_.FixedCols(); ++c) cells << model_.Cell(c, r);
        lines << cells.join(' ');
    }
    corner_->setText(lines.join('\n'));
    corner_->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(), horizontalHeader()->height());
    corner_->raise();
}

// The fixed rows and columns are the headers: shown when there are any.
void StringGrid::ShowHeaders() {
    horizontalHeader()->setVisible(model_.FixedRows() > 0);
    verticalHeader()->setVisible(model_.FixedCols() > 0);
}

void StringGrid::SetColCount(int n) {
    model_.SetSize(n, model_.Rows());
}
void StringGrid::SetRowCount(int n) {
    model_.SetSize(model_.Cols(), n);
}
void StringGrid::SetFixedRows(int n) {
    model_.SetFixed(model_.FixedCols(), n);
    ShowHeaders();
}
void StringGrid::SetFixedCols(int n) {
    model_.SetFixed(n, model_.FixedRows());
    ShowHeaders();
}

void StringGrid::SetFixedColor(const QColor& color) {
    model_.SetFixedColor(color);
    QPalette palette = corner_->palette();
    palette.setColor(QPalette::Window, color);
    corner_->setPalette(palette);
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
    return i.isValid() ? i.row() + model_.FixedRows() : -1;
}

void StringGrid::SetRow(int row) {
    const int viewRow = row - model_.FixedRows();
    if (viewRow < 0 || viewRow >= model_.rowCount()) return;
    setCurrentIndex(model_.index(viewRow, 0));
    selectRow(viewRow);
}

int StringGrid::Col() const {
    QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + model_.FixedCols() : -1;
}

void StringGrid::SetCurrentCell(int col, int row) {
    const int viewRow = row - model_.FixedRows(), viewCol = col - model_.FixedCols();
    if (viewRow < 0 || viewRow >= model_.rowCount() || viewCol < 0 || viewCol >= model_.columnCount()) return;
    const QModelIndex i = model_.index(viewRow, viewCol);
    setCurrentIndex(i);
    scrollTo(i);
}

}  // namespace wavora
