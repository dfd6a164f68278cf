#include "YearDlg.h"

#include <QBuffer>
#include <QChart>
#include <QDate>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>

#include "MessageBox.h"
#include "ReplaceFile.h"
#include "ReportCtrl.h"
#include "YearChart.h"
#include "YearExportDlg.h"

namespace {

QString Cell(const std::string& text) {
    return QString::fromStdString(text);
}

CCivilDate Today() {
    const QDate today = QDate::currentDate();
    return CCivilDate{today.year(), today.month(), today.day()};
}

}  // namespace

CYearDlg::CYearDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Year"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_chart = new CYearChart(m_tabs);
    m_tabs->addTab(m_chart, QStringLiteral("Chart"));
    m_table = new CReportCtrl(m_tabs);
    m_table->SetExtendedStyle(kExFullRowSelect | kExGridLines);
    const char* headings[] = {"Date",   "Civil dawn", "Sunrise",    "Solar noon",
                              "Sunset", "Civil dusk", "Day length", "Change (min)"};
    for (int column = 0; column < 8; ++column) {
        m_table->InsertColumn(column, QString::fromLatin1(headings[column]),
                              column == kDate ? kFormatLeft : kFormatRight,
                              column == kDate ? 90 : 80);
    }
    m_tabs->addTab(m_table, QStringLiteral("Table"));
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton =
        buttons->addButton(QStringLiteral("Export..."), QDialogButtonBox::ActionRole);
    connect(exportButton, &QPushButton::clicked, this, &CYearDlg::OnExport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(900, 600);
}

void CYearDlg::ShowYear(const CYearRequest& request) {
    CYearTable year;
    year.request = request;
    if (!request.IsEmpty()) {
        year = ComputeYear(request);
    }
    m_year = std::move(year);
    // One arg() call each: a second call would read a "%2" in the place's name as its marker.
    const QString place = m_year.request.placeName.empty()
                              ? QStringLiteral("%1, %2").arg(QString::number(request.latitude),
                                                             QString::number(request.longitude))
                              : Cell(m_year.request.placeName);
    QString heading =
        request.IsEmpty()
            ? QStringLiteral("No place chosen in the main window")
            : QStringLiteral("%1 in %2").arg(place, QString::number(request.date.year));
    if (!m_year.zoneName.empty()) {
        heading += QStringLiteral(", clock of %1").arg(Cell(m_year.zoneName));
    } else if (!request.IsEmpty()) {
        heading += QStringLiteral(", UTC%1 all year")
                       .arg(Cell(OffsetText(
                           m_year.days.empty() ? 0 : m_year.days.front().utcOffsetSeconds)));
    }
    if (request.precise) {
        heading += QStringLiteral(" (Precise Calculation)");
    }
    // On the chart itself, so that its picture and document say what they show; the title
    // is plain text, never markup.
    m_chart->chart()->setTitle(heading.toHtmlEscaped());
    setWindowTitle(QStringLiteral("Year - %1").arg(heading));
    m_chart->ShowYear(m_year, Today());
    FillTable();
}

// Rows are rewritten in place when the count stays (a new place of the same year), so a
// redraw does not rebuild the list. Times are HH:MM:SS and day lengths HH:MM:SS, both zero-
// padded, so that they sort as times; the change is in decimal minutes, so it sorts as a number.
void CYearDlg::FillTable() {
    const int count = static_cast<int>(m_year.days.size());
    m_table->setUpdatesEnabled(false);
    if (m_table->GetItemCount() != count) {
        m_table->DeleteAllItems();
        for (int row = 0; row < count; ++row) {
            m_table->InsertItem(row, QString());
        }
    }
    std::optional<std::int64_t> previous;
    for (int row = 0; row < count; ++row) {
        const CYearDay& day = m_year.days[static_cast<std::size_t>(row)];
        const auto length = DayLengthSeconds(day);
        auto event = [&](SolarOutcome outcome, const CCivilTime& time) {
            return Cell(EventCell(outcome, time, day.date));
        };
        m_table->SetItemText(row, kDate, Cell(IsoDate(day.date)));
        m_table->SetItemText(
            row, kDawn,
            day.hasTwilights ? event(day.civilDawn.outcome, day.civilDawn.time) : QString());
        m_table->SetItemText(row, kSunrise, event(day.sunrise.outcome, day.sunrise.time));
        m_table->SetItemText(row, kNoon, event(day.solarNoon.outcome, day.solarNoon.time));
        m_table->SetItemText(row, kSunset, event(day.sunset.outcome, day.sunset.time));
        m_table->SetItemText(
            row, kDusk,
            day.hasTwilights ? event(day.civilDusk.outcome, day.civilDusk.time) : QString());
        m_table->SetItemText(row, kDayLength, Cell(DurationText(length)));
        QString change;
        if (length && previous) {
            change = QString::asprintf("%+.2f", static_cast<double>(*length - *previous) / 60.0);
        }
        m_table->SetItemText(row, kChange, change);
        previous = length;
    }
    // A table the user sorted stays sorted by that column.
    if (m_table->GetSortColumn() >= 0) {
        m_table->SortByColumn(m_table->GetSortColumn(), m_table->IsSortAscending());
    }
    m_table->setUpdatesEnabled(true);
}

QByteArray CYearDlg::FileContent(YearExportKind kind, bool utc) const {
    switch (kind) {
        case YearExportKind::Csv:
            return QByteArray::fromStdString(YearCsv(m_year));
        case YearExportKind::IcsEvents:
        case YearExportKind::IcsSummary: {
            CIcsOptions options;
            options.dailySummary = kind == YearExportKind::IcsSummary;
            options.utc = utc;
            options.stamp = std::time(nullptr);
            return QByteArray::fromStdString(YearIcs(m_year, options));
        }
        case YearExportKind::Png: {
            // The chart as it stands in the window.
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            m_chart->grab().save(&buffer, "PNG");
            return bytes;
        }
        case YearExportKind::Pdf: {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setPageOrientation(QPageLayout::Landscape);
            writer.setTitle(windowTitle());
            QPainter painter(&writer);
            // Scaled to the page, the proportions kept.
            const QSize size = m_chart->size();
            const double scale = std::min(painter.viewport().width() / double(size.width()),
                                          painter.viewport().height() / double(size.height()));
            painter.scale(scale, scale);
            m_chart->render(&painter);
            painter.end();
            return bytes;
        }
    }
    return {};
}

std::optional<QString> CYearDlg::Export(YearExportKind kind, const QString& path, bool utc) {
    QByteArray content;
    try {
        content = FileContent(kind, utc);
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
    if (const auto error = Export(choice.Kind(), path, choice.Utc())) {
        daybreak::ShowErrorMessage(this, *error);
    }
}
