#include "YearExportDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const QString kAlmanacKey = QStringLiteral("YearExport/MoonPhasesAndSeasons");

struct ExportChoice {
    YearExportKind kind;
    const char* label;
    const char* filter;
    const char* extension;
};

constexpr ExportChoice kExportChoices[] = {
    {YearExportKind::Csv, "Table as CSV", "CSV files (*.csv)", "csv"},
    {YearExportKind::IcsEvents, "Calendar: a sunrise and a sunset event each day",
     "iCalendar files (*.ics)", "ics"},
    {YearExportKind::IcsSummary, "Calendar: one summary event each day", "iCalendar files (*.ics)",
     "ics"},
    {YearExportKind::Png, "Chart as PNG picture", "PNG pictures (*.png)", "png"},
    {YearExportKind::Pdf, "Chart as PDF document", "PDF documents (*.pdf)", "pdf"},
};

}  // namespace

CYearExportDlg::CYearExportDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Export"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Write"), this);
    auto* groupLayout = new QVBoxLayout(group);
    for (const ExportChoice& choice : kExportChoices) {
        auto* button = new QRadioButton(QString::fromLatin1(choice.label), group);
        groupLayout->addWidget(button);
        m_buttons.push_back(button);
    }
    m_buttons.front()->setChecked(true);
    layout->addWidget(group);
    m_utc = new QCheckBox(QStringLiteral("Calendar times in UTC (otherwise in the place's zone)"),
                          this);
    layout->addWidget(m_utc);
    m_almanac = new QCheckBox(
        QStringLiteral("Calendars also hold the Moon's phases and the seasons"), this);
    m_almanac->setChecked(QSettings().value(kAlmanacKey, false).toBool());
    connect(m_almanac, &QCheckBox::toggled, this,
            [](bool on) { QSettings().setValue(kAlmanacKey, on); });
    layout->addWidget(m_almanac);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

YearExportKind CYearExportDlg::Kind() const {
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i]->isChecked()) {
            return kExportChoices[i].kind;
        }
    }
    return kExportChoices[0].kind;
}

namespace {

const ExportChoice& ChoiceOf(YearExportKind kind) {
    for (const ExportChoice& choice : kExportChoices) {
        if (choice.kind == kind) {
            return choice;
        }
    }
    return kExportChoices[0];
}

}  // namespace

QString CYearExportDlg::FileFilter() const {
    return QString::fromLatin1(ChoiceOf(Kind()).filter);
}

QString CYearExportDlg::Extension() const {
    return QString::fromLatin1(ChoiceOf(Kind()).extension);
}

std::unique_ptr<QFileDialog> CYearExportDlg::SaveDialog(QWidget* parent,
                                                        const QString& stem) const {
    auto dialog =
        std::make_unique<QFileDialog>(parent, QStringLiteral("Export"), QString(), FileFilter());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Added before the dialog asks whether to replace a file, so it asks about the real name.
    dialog->setDefaultSuffix(Extension());
    dialog->selectFile(stem + QLatin1Char('.') + Extension());
    return dialog;
}

bool CYearExportDlg::Utc() const {
    return m_utc->isChecked();
}

bool CYearExportDlg::Almanac() const {
    return m_almanac->isChecked();
}
