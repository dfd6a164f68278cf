#include "YearDlg.h"

#include <QBuffer>
#include <QDate>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>

#include "MessageBox.h"
#include "NumberText.h"
#include "ReplaceFile.h"
#include "ReportCtrl.h"
#include "YearChart.h"
#include "YearDocument.h"
#include "YearExportDlg.h"

namespace {

QString Cell(const std::string& text) {
    return QString::fromStdString(text);
}

CCivilDate Today() {
    const QDate today = QDate::currentDate();
    return CCivilDate{today.year(), today.month(), today.day()};
}

// Which clock the times are read on, and how to change it.
QString ClockText(const CYearTable& year) {
    if (!year.zoneName.empty()) {
        return QStringLiteral("Clock: %1, daylight saving by the date").arg(Cell(year.zoneName));
    }
    const int offset = year.days.empty() ? 0 : year.days.front().utcOffsetSeconds;
    return QStringLiteral(
               "Clock: fixed UTC%1 all year%2; Calculation > Daylight Saving from the "
               "Date follows a chosen place's zone")
        .arg(Cell(OffsetText(offset)),
             year.request.dst != 0 ? QStringLiteral(" (daylight-saving hour ticked)") : QString());
}

}  // namespace

CYearDlg::CYearDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Year"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    m_heading->setWordWrap(true);
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_heading);
    m_tabs = new QTabWidget(this);
    m_chart = new CYearChart(m_tabs);
    m_tabs->addTab(m_chart, QStringLiteral("Chart"));
    m_table = new CReportCtrl(m_tabs);
    m_table->setAccessibleName(QStringLiteral("Days of the year"));
    m_table->SetExtendedStyle(kExFullRowSelect | kExGridLines);
    for (int column = 0; column < kYearColumns; ++column) {
        m_table->InsertColumn(column, YearHeadings()[static_cast<std::size_t>(column)],
                              column == kDate ? kFormatLeft : kFormatRight);
    }
    m_tabs->addTab(m_table, QStringLiteral("Table"));
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton =
        buttons->addButton(QStringLiteral("Export..."), QDialogButtonBox::ActionRole);
    connect(exportButton, &QPushButton::clicked, this, &CYearDlg::OnExport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    FitColumns();
}

void CYearDlg::PlaceBeside(QWidget& main) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    QRect mainFrame = main.frameGeometry();
    // This window's frame is not known before it is shown: take the main window's.
    const QRect inner = main.geometry();
    const QMargins frame(inner.left() - mainFrame.left(), inner.top() - mainFrame.top(),
                         mainFrame.right() - inner.right(), mainFrame.bottom() - inner.bottom());
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize room = available.size() - frameSize;
    const int line = fontMetrics().height();
    QSize size = QSize(line * 54, line * 37).boundedTo(room).expandedTo(minimumSizeHint());
    size = size.boundedTo(room);

    int right = available.right() - mainFrame.right() - frameSize.width();
    int left = mainFrame.left() - available.left() - frameSize.width();
    const int useful = std::max(minimumSizeHint().width(), line * 28);
    // Side by side, when the room beside is short of the size wanted, only if the main window
    // moves over: it moves as little as that size (or the whole screen's width) needs.
    const int wanted =
        std::min(size.width(), available.width() - mainFrame.width() - frameSize.width());
    if (std::max(left, right) < wanted && wanted >= useful) {
        const int shift = right >= left ? right - wanted : wanted - left;
        main.move(mainFrame.left() + shift, mainFrame.top());
        mainFrame.translate(shift, 0);
        right -= shift;
        left += shift;
    }
    int x = 0;
    if (std::max(left, right) >= useful) {
        size.setWidth(std::min(size.width(), std::max(left, right)));
        x = right >= left ? mainFrame.right() + 1
                          : mainFrame.left() - size.width() - frameSize.width();
    } else {
        x = available.right() + 1 - size.width() - frameSize.width();
    }
    const int y = std::clamp(mainFrame.top(), available.top(),
                             available.bottom() + 1 - size.height() - frameSize.height());
    resize(size);
    move(x, y);
}

void CYearDlg::ShowYear(const CYearRequest& request) {
    CYearTable year;
    year.request = request;
    if (!request.IsEmpty()) {
        year = ComputeYear(request);
    }
    m_year = std::move(year);
    // One arg() call each: a second call would read a "%2" in the place's name as its marker.
    // The coordinates as the main window's fields write them.
    const QString place =
        m_year.request.placeName.empty()
            ? QStringLiteral("%1, %2").arg(Cell(daybreak::FormatDoubleText(request.latitude)),
                                           Cell(daybreak::FormatDoubleText(request.longitude)))
            : Cell(m_year.request.placeName);
    QString heading =
        request.IsEmpty()
            ? QStringLiteral("No place chosen in the main window")
            : QStringLiteral("%1 in %2").arg(place, QString::number(request.date.year));
    QString title = heading;
    if (!m_year.zoneName.empty()) {
        title += QStringLiteral(", clock of %1").arg(Cell(m_year.zoneName));
    } else if (!request.IsEmpty()) {
        title += QStringLiteral(", UTC%1 all year")
                     .arg(Cell(OffsetText(
                         m_year.days.empty() ? 0 : m_year.days.front().utcOffsetSeconds)));
    }
    if (request.precise) {
        heading += QStringLiteral(" (Precise Calculation)");
        title += QStringLiteral(" (Precise Calculation)");
    }
    if (!request.IsEmpty()) {
        heading += QLatin1Char('\n') + ClockText(m_year);
    }
    m_title = title;
    m_heading->setText(heading);
    setWindowTitle(QStringLiteral("Year - %1").arg(title));
    m_chart->ShowYear(m_year, Today());
    FillTable();
}

// Rows are rewritten in place when the count stays (a new place of the same year), so a
// redraw does not rebuild the list.
void CYearDlg::FillTable() {
    const std::vector<CYearRow> rows = YearRows(m_year);
    const int count = static_cast<int>(rows.size());
    m_table->setUpdatesEnabled(false);
    if (m_table->GetItemCount() != count) {
        m_table->DeleteAllItems();
        for (int row = 0; row < count; ++row) {
            m_table->InsertItem(row, QString());
            // Times and numbers line up on the right, under their headings.
            for (int column = kDawn; column < kYearColumns; ++column) {
                m_table->item(row, column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
        }
    }
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < kYearColumns; ++column) {
            m_table->SetItemText(
                row, column, rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
        }
    }
    // A table the user sorted stays sorted by that column.
    if (m_table->GetSortColumn() >= 0) {
        m_table->SortByColumn(m_table->GetSortColumn(), m_table->IsSortAscending());
    }
    FitColumns();
    m_table->setUpdatesEnabled(true);
}

// Each column as wide as its heading (with room for the sort arrow, shown or not, as the
// header measures it) or its widest cell, whichever is wider.
void CYearDlg::FitColumns() {
    const QHeaderView* header = m_table->horizontalHeader();
    const QFontMetrics cells(m_table->font());
    const QStyle* style = m_table->style();
    const int arrow = header->isSortIndicatorShown()
                          ? 0
                          : header->sizeHint().height() +
                                style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int cellMargin =
        2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1);
    // Each distinct shape of text measured once, every digit as the widest digit: a year has
    // thousands of cells but a column only a few shapes ("00:00:00", "00:00:00 +1",
    // "down all day"), and shaping text is the slow part of measuring it.
    QChar widestDigit = QLatin1Char('0');
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (cells.horizontalAdvance(QLatin1Char(digit)) > cells.horizontalAdvance(widestDigit)) {
            widestDigit = QLatin1Char(digit);
        }
    }
    for (int column = 0; column < kYearColumns; ++column) {
        QSet<QString> shapes;
        for (int row = 0; row < m_table->GetItemCount(); ++row) {
            QString text = m_table->GetItemText(row, column);
            for (QChar& c : text) {
                c = c.isDigit() ? widestDigit : c;
            }
            shapes.insert(text);
        }
        int widest = 0;
        for (const QString& shape : shapes) {
            widest = std::max(widest, cells.horizontalAdvance(shape));
        }
        m_table->setColumnWidth(column,
                                std::max(header->sectionSizeHint(column) + arrow,
                                         widest + 2 * cellMargin + cells.averageCharWidth()));
    }
}

QByteArray CYearDlg::FileContent(YearExportKind kind, bool utc, bool almanac) const {
    switch (kind) {
        case YearExportKind::Csv:
            return QByteArray::fromStdString(YearCsv(m_year));
        case YearExportKind::IcsEvents:
        case YearExportKind::IcsSummary: {
            CIcsOptions options;
            options.dailySummary = kind == YearExportKind::IcsSummary;
            options.utc = utc;
            options.almanac = almanac;
            options.stamp = std::time(nullptr);
            return QByteArray::fromStdString(YearIcs(m_year, options));
        }
        case YearExportKind::Png: {
            // The chart at the window's size, as sharp as the screen shows it.
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            const QSize size = m_chart->size().expandedTo(m_chart->sizeHint());
            YearChartImage(m_chart->Data(), m_title, size, std::max(1.0, devicePixelRatioF()))
                .save(&buffer, "PNG");
            return bytes;
        }
        case YearExportKind::Pdf:
            return YearPdf(m_chart->Data(), YearRows(m_year), m_title, QLocale());
    }
    return {};
}

std::optional<QString> CYearDlg::Export(YearExportKind kind, const QString& path, bool utc,
                                        bool almanac) {
    QByteArray content;
    try {
        content = FileContent(kind, utc, almanac);
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    if (content.isEmpty()) {
        return QStringLiteral("Cannot make the file %1").arg(path);
    }
    try {
        ReplaceFileContent(
            QFile::encodeName(path).toStdString(),
            std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
    } catch (const CException& error) {
        return QString::fromUtf8(error.GetErrorMessage());
    }
    return std::nullopt;
}

std::unique_ptr<QFileDialog> CYearDlg::SaveDialog(const CYearExportDlg& choice) {
    return choice.SaveDialog(this, QString::fromStdString(YearFileStem(m_year.request)));
}

void CYearDlg::OnExport() {
    CYearExportDlg choice(this);
    if (choice.exec() != QDialog::Accepted) {
        return;
    }
    const std::unique_ptr<QFileDialog> where = SaveDialog(choice);
    if (where->exec() != QDialog::Accepted || where->selectedFiles().isEmpty()) {
        return;
    }
    const QString path = where->selectedFiles().front();
    if (const auto error = Export(choice.Kind(), path, choice.Utc(), choice.Almanac())) {
        daybreak::ShowErrorMessage(this, *error);
    }
}
