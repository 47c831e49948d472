#include "platform/Prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace platform {

namespace {

Prompts::FontDialog g_fontDialog;

class DialogPrompts : public Prompts
{
public:
    void Information(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, QStringLiteral("Information"), text);
    }
    void Error(QWidget* parent, const QString& text) override
    {
        QMessageBox::critical(parent, QStringLiteral("Error"), text);
    }
    bool Question(QWidget* parent, const QString& caption, const QString& text) override
    {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
    Answer QuestionOrCancel(QWidget* parent, const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, caption, text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the title bar's close button take the way back, never the answer that loses work.
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& initial,
                                         FontDialogOptions options) override
    {
        if (g_fontDialog)
            return g_fontDialog(parent, initial, options);
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial.font, parent, QString(),
                                                options.testFlag(FontDialogOption::ScalableOnly)
                                                    ? QFontDialog::ScalableFonts
                                                    : QFontDialog::FontDialogOptions());
        return ok ? std::optional<FontChoice>(FontChoice{font, initial.color}) : std::nullopt;
    }
    std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) override
    {
        const QColor color = QColorDialog::getColor(ToQColor(initial), parent);
        return color.isValid() ? std::optional<TColor>(FromQColor(color)) : std::nullopt;
    }
    std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                        const QString& filter) override
    {
        const QString name = QFileDialog::getOpenFileName(parent, title, folder, filter);
        return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
    }
    std::optional<QString> SaveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                        const QString& filter) override
    {
        const QString name = QFileDialog::getSaveFileName(parent, title, proposed, filter);
        return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
    }
    bool PrintSetup(QWidget* parent, QPrinter& printer, const QString& title) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(title);
        // Copies, the printer and its set-up, and printing to a PDF file, which works without any printer
        // installed: no page range, no collation.
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintToFile);
        return dialog.exec() == QDialog::Accepted;
    }
    bool PrinterSetup(QWidget* parent, QPrinter& printer) override
    {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

DialogPrompts g_dialogs;
Prompts* g_current = nullptr;

} // namespace

bool Prompts::PrintSetup(QWidget*, QPrinter&, const QString&)
{
    return false;
}

bool Prompts::PrinterSetup(QWidget*, QPrinter&)
{
    return false;
}

Prompts& Prompts::Current()
{
    return g_current ? *g_current : g_dialogs;
}

Prompts& Prompts::Dialogs()
{
    return g_dialogs;
}

void Prompts::Install(Prompts* prompts)
{
    g_current = prompts;
}

void Prompts::SetFontDialog(FontDialog dialog)
{
    g_fontDialog = std::move(dialog);
}

} // namespace platform
