#include "planfileactions.h"

#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "platform/qt/qtstrings.h"
#include "startup.h"
#include "views/menuplan.h"
#include "views/recipelistmodel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace kovanta {

namespace {

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A list of left-out rows stays readable in a message box.
constexpr int kListedRows = 15;

class DesktopPlanFileUi final : public PlanFileUi {
public:
    QString openPlanName(QWidget* parent, const QString& start) override
    {
        QFileDialog dialog(parent, QStringLiteral("Speiseplan öffnen"), QString(),
                           QStringLiteral("Speiseplan (*.plan)"));
        dialog.setObjectName(QStringLiteral("SpeiseplanOeffnenDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        prepare(dialog, start, QStringLiteral("Öffnen"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
    QString savePlanName(QWidget* parent, const QString& start) override
    {
        return saveName(parent, QStringLiteral("Speiseplan speichern"), start,
                        QStringLiteral("Speiseplan (*.plan)"), QStringLiteral("plan"));
    }
    QString exportName(QWidget* parent, const QString& start) override
    {
        return saveName(parent, QStringLiteral("Bedarfsliste exportieren"), start,
                        QStringLiteral("CSV-Datei (*.csv)"), QStringLiteral("csv"));
    }
    Answer askSaveChanges(QWidget* parent) override
    {
        QMessageBox box(QMessageBox::Question, applicationTitle(),
                        QString::fromUtf8(kPlanChangedQuestion),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.setObjectName(QStringLiteral("PlanSaveQuestion"));
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Save;
        case QMessageBox::No:
            return Answer::Discard;
        default:
            return Answer::Cancel;
        }
    }
    void showMessage(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
        box.setObjectName(QStringLiteral("PlanFileMessage"));
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }

private:
    // The dialog's own texts in German (the desktop's dialog, where there is one, brings its
    // own), starting at a file or a directory.
    static void prepare(QFileDialog& dialog, const QString& start, const QString& accept)
    {
        dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
        dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
        dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
        dialog.setLabelText(QFileDialog::Accept, accept);
        dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
        const QFileInfo info(start);
        if (info.isDir()) {
            dialog.setDirectory(start);
        } else {
            dialog.setDirectory(info.absolutePath());
            if (!info.fileName().isEmpty())
                dialog.selectFile(info.fileName());
        }
    }

    QString saveName(QWidget* parent, const QString& caption, const QString& start,
                     const QString& filter, const QString& suffix)
    {
        QString at = start;
        for (;;) {
            QFileDialog dialog(parent, caption, QString(), filter);
            dialog.setObjectName(QStringLiteral("SpeichernDialog"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setDefaultSuffix(suffix);
            // Replacing is asked below, in German.
            dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
            prepare(dialog, at, QStringLiteral("Speichern"));
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return {};
            const QString name = dialog.selectedFiles().constFirst();
            if (!QFileInfo::exists(name) || askReplace(parent, name))
                return name;
            at = name;
        }
    }

    static bool askReplace(QWidget* parent, const QString& name)
    {
        QMessageBox box(QMessageBox::Question, applicationTitle(),
                        QStringLiteral("Die Datei \"%1\" gibt es schon. Ersetzen?")
                            .arg(QDir::toNativeSeparators(name)),
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
};

} // namespace

std::unique_ptr<PlanFileUi> makeDesktopPlanFileUi()
{
    return std::make_unique<DesktopPlanFileUi>();
}

PlanFileActions::PlanFileActions(PlanFilePort& port, QObject* parent)
    : QObject(parent), port_(port), ui_(makeDesktopPlanFileUi())
{
    open_ = new QAction(QStringLiteral("S&peiseplan öffnen..."), this);
    open_->setObjectName(QStringLiteral("SpeiseplanOeffnen1"));
    open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open_->setStatusTip(QStringLiteral("Einen gespeicherten Speiseplan laden"));
    connect(open_, &QAction::triggered, this, [this] { openPlan(); });

    save_ = new QAction(QStringLiteral("Speiseplan &speichern..."), this);
    save_->setObjectName(QStringLiteral("SpeiseplanSpeichern1"));
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save_->setStatusTip(QStringLiteral("Den Speiseplan in einer Datei speichern"));
    connect(save_, &QAction::triggered, this, [this] { savePlan(); });

    export_ = new QAction(QStringLiteral("Bedarfsliste e&xportieren..."), this);
    export_->setObjectName(QStringLiteral("BedarfslisteExportieren1"));
    export_->setStatusTip(
        QStringLiteral("Die Bedarfsliste als CSV-Datei für die Tabellenkalkulation speichern"));
    connect(export_, &QAction::triggered, this, [this] { exportRequirements(); });

    updateActions();
}

PlanFileActions::~PlanFileActions() = default;

void PlanFileActions::setUi(std::unique_ptr<PlanFileUi> ui)
{
    if (ui)
        ui_ = std::move(ui);
}

std::vector<PlanFileRow> PlanFileActions::currentRows() const
{
    std::vector<PlanFileRow> rows;
    for (const MenuPlan::PlannedRow& planned : port_.planOfWindow().plannedRows()) {
        // The free rows before it, then the row.
        rows.resize(static_cast<std::size_t>(planned.row - kFirstPlanRow));
        PlanFileRow& out = rows.emplace_back();
        out.free = false;
        out.portions = codepage::ansiToUtf8(planned.portions);
        out.file = planned.entry->FileName;
        out.entryIndex = planned.entry->EntryIndex;
        out.name = PlanRecipeName(planned.entry->ShortName);
    }
    return TrimmedPlanRows(std::move(rows));
}

bool PlanFileActions::planChanged() const
{
    const std::vector<PlanFileRow> rows = currentRows();
    return !rows.empty() && rows != saved_;
}

bool PlanFileActions::confirmDiscard()
{
    if (!planChanged())
        return true;
    switch (ui_->askSaveChanges(port_.planFileWindow())) {
    case PlanFileUi::Answer::Save:
        return savePlan();
    case PlanFileUi::Answer::Discard:
        return true;
    case PlanFileUi::Answer::Cancel:
        break;
    }
    return false;
}

QString PlanFileActions::startPath(const QString& fileName) const
{
    if (!planFile_.isEmpty())
        return QFileInfo(planFile_).absolutePath() + QLatin1Char('/') + fileName;
    QString dir = lastDirectory_;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    return dir + QLatin1Char('/') + fileName;
}

bool PlanFileActions::openPlan()
{
    if (!open_->isEnabled() || !confirmDiscard())
        return false;
    const QString start =
        planFile_.isEmpty() ? QFileInfo(startPath(QString())).absolutePath() : planFile_;
    const QString name = ui_->openPlanName(port_.planFileWindow(), start);
    if (name.isEmpty())
        return false;
    return openPlanFile(name);
}

bool PlanFileActions::openPlanFile(const QString& fileName)
{
    const PlanReadResult read = ReadPlanFile(fsPath(fileName));
    const QString shown = QDir::toNativeSeparators(fileName);
    QString problem;
    switch (read.status) {
    case PlanReadStatus::Ok:
        break;
    case PlanReadStatus::CannotOpen:
        problem = QStringLiteral("Der Speiseplan \"%1\" kann nicht gelesen werden.").arg(shown);
        break;
    case PlanReadStatus::TooLarge:
        problem = QStringLiteral("Die Datei \"%1\" ist kein Speiseplan: sie ist größer als %2 MiB.")
                      .arg(shown, QString::number(kMaxPlanFileBytes / (1024 * 1024)));
        break;
    case PlanReadStatus::Malformed:
        problem = QStringLiteral("Die Datei \"%1\" ist kein Speiseplan: Zeile %2 hat nicht die "
                                 "Form Portionen<TAB>Rezeptdatei<TAB>Eintrag.")
                      .arg(shown, QString::number(read.line));
        break;
    }
    lastDirectory_ = QFileInfo(fileName).absolutePath();
    if (!problem.isEmpty()) {
        ui_->showMessage(port_.planFileWindow(), problem);
        return false;
    }

    // The recipes of the list, as the plan may take them.
    std::vector<const TImpListInfo*> listed;
    listed.reserve(port_.listedRecipes().entries().size());
    for (const auto& e : port_.listedRecipes().entries())
        listed.push_back(e.get());
    PlannedRecipeFinder finder(listed);

    const int planRows = kPlanRows - kFirstPlanRow;
    std::vector<MenuPlan::LoadRow> rows;
    QStringList leftOut;
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const PlanFileRow& row = read.rows[i];
        const int line = static_cast<int>(i) + 1;
        MenuPlan::LoadRow load;
        if (!row.free) {
            const QString file = displayPath(row.file);
            const QString where = QStringLiteral("Zeile %1: ").arg(line);
            const auto leaveOut = [&](const PlanRowProblem& p) {
                leftOut << where + (p.afterFileName ? file + QLatin1Char(' ') : QString()) +
                               utf8(p.text);
            };
            int found = -1;
            if (line > planRows) {
                leftOut << where + file +
                               QStringLiteral(" steht nach Zeile %1, der letzten des Speiseplans")
                                   .arg(planRows);
            } else if (const PlanRowProblem text = PlanRowTextProblem(row); !text.ok()) {
                leaveOut(text);
            } else if (found = finder.Find(row); found < 0) {
                leftOut << where + file +
                               (row.entryIndex != 0
                                    ? QStringLiteral(", Eintrag %1,").arg(row.entryIndex)
                                    : QString()) +
                               QStringLiteral(" steht nicht in der Rezeptliste");
            } else if (const PlanRowProblem name =
                           PlanRowNameProblem(row, *listed[static_cast<std::size_t>(found)]);
                       !name.ok()) {
                leaveOut(name);
            } else {
                load.Recipe = listed[static_cast<std::size_t>(found)];
                load.PortionText = codepage::utf8ToAnsi(row.portions);
            }
        }
        if (line <= planRows)
            rows.push_back(std::move(load));
    }
    port_.planOfWindow().LoadPlan(rows);
    planFile_ = fileName;
    saved_ = currentRows();
    updateActions();
    port_.showPlan();

    if (!leftOut.isEmpty()) {
        QString text = QStringLiteral("Diese Zeilen des Speiseplans wurden nicht übernommen:\n");
        for (int i = 0; i < leftOut.size() && i < kListedRows; ++i)
            text += QLatin1Char('\n') + leftOut[i];
        if (leftOut.size() > kListedRows)
            text += QStringLiteral("\n... und %1 weitere").arg(leftOut.size() - kListedRows);
        ui_->showMessage(port_.planFileWindow(), text);
    }
    return true;
}

bool PlanFileActions::savePlan()
{
    if (!save_->isEnabled())
        return false;
    const QString start = planFile_.isEmpty() ? startPath(QStringLiteral("Speiseplan.plan"))
                                              : planFile_;
    const QString name = ui_->savePlanName(port_.planFileWindow(), start);
    if (name.isEmpty())
        return false;
    return savePlanFile(name);
}

bool PlanFileActions::savePlanFile(const QString& fileName)
{
    const std::vector<PlanFileRow> rows = currentRows();
    std::string reason;
    lastDirectory_ = QFileInfo(fileName).absolutePath();
    if (!WritePlanFile(fsPath(fileName), rows, reason)) {
        ui_->showMessage(port_.planFileWindow(),
                         QStringLiteral("Der Speiseplan kann nicht gespeichert werden:\n"
                                                 "\"%1\" %2.")
                                      .arg(QDir::toNativeSeparators(fileName), utf8(reason)));
        return false;
    }
    planFile_ = fileName;
    saved_ = rows;
    return true;
}

bool PlanFileActions::hasRequirementRows() const
{
    for (const MenuPlan::RequirementRow& row : port_.planOfWindow().requirementRows()) {
        if (row.entry)
            return true;
    }
    return false;
}

std::vector<RequirementsCsvRow> PlanFileActions::requirementRows() const
{
    std::vector<RequirementsCsvRow> rows;
    for (const MenuPlan::RequirementRow& row : port_.planOfWindow().requirementRows()) {
        if (!row.entry)
            continue;
        RequirementsCsvRow out;
        // The computed quantity unless the cook adjusted the cell: the cell's 11 characters
        // would cut off the digits of a very large quantity.
        out.quantity = row.entry->Quantity;
        if (row.quantity != RequirementQuantityText(row.entry->Quantity)) {
            if (const std::optional<double> typed = ParseQuantityText(row.quantity))
                out.quantity = *typed;
        }
        out.unit = row.unit;
        out.article = row.article;
        rows.push_back(std::move(out));
    }
    return rows;
}

bool PlanFileActions::exportRequirements()
{
    updateActions();
    if (!export_->isEnabled())
        return false;
    QString start = startPath(QStringLiteral("Bedarfsliste.csv"));
    if (!planFile_.isEmpty()) {
        const QFileInfo plan(planFile_);
        start = plan.absolutePath() + QLatin1Char('/') + plan.completeBaseName() +
                QStringLiteral(".csv");
    }
    const QString name = ui_->exportName(port_.planFileWindow(), start);
    if (name.isEmpty())
        return false;
    return exportRequirementsFile(name);
}

bool PlanFileActions::exportRequirementsFile(const QString& fileName)
{
    const std::string csv =
        RequirementsCsv(requirementRows(), port_.planOfWindow().alternativesFound());
    std::string reason;
    lastDirectory_ = QFileInfo(fileName).absolutePath();
    if (!writeFileAtomically(fsPath(fileName), csv, reason)) {
        ui_->showMessage(port_.planFileWindow(),
                         QStringLiteral("Die Bedarfsliste kann nicht exportiert werden:\n"
                                        "\"%1\" %2.")
                             .arg(QDir::toNativeSeparators(fileName), utf8(reason)));
        return false;
    }
    return true;
}

void PlanFileActions::updateActions()
{
    open_->setEnabled(port_.recipesReadOnce());
    save_->setEnabled(port_.recipesReadOnce());
    export_->setEnabled(port_.requirementsTabCurrent() && hasRequirementRows());
}

} // namespace kovanta
