#pragma once

#include "platform/FontChoice.h"
#include "platform/TColor.h"

#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace platform {

/**
 * The message boxes and common dialogs commands use. The program shows Qt's dialogs; tests install a scripted
 * one so every command can be driven end to end without a modal box blocking the test.
 */
class Prompts
{
public:
    virtual ~Prompts() = default;
    /** An information box: caption "Information", one OK button. */
    virtual void Information(QWidget* parent, const QString& text) = 0;
    /** An error box: caption "Error", an error icon, one OK button. Prompts without one show an information
     * box.
     */
    virtual void Error(QWidget* parent, const QString& text) { Information(parent, text); }
    /** A question box with Yes and No; true for Yes. */
    virtual bool Question(QWidget* parent, const QString& caption, const QString& text) = 0;
    enum class Answer
    {
        Yes,
        No,
        Cancel
    };
    /**
     * A question box with Yes, No and Cancel, for a question whose No loses work: Escape and the box's own
     * close button cancel.
     */
    virtual Answer QuestionOrCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    /** The font dialog, opened on the font it edits (with its colour); nothing when cancelled. */
    virtual std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& initial,
                                                 FontDialogOptions options) = 0;
    virtual std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) = 0;
    /** The open-file dialog; nothing when cancelled. */
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                                const QString& filter) = 0;
    /** The save-file dialog with a proposed name (asking before replacing a file); nothing when cancelled. */
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& title,
                                                const QString& proposed, const QString& filter) = 0;
    /**
     * A print job's set-up window with the title: copies, the printer, and the printer's own set-up; no file
     * destination. True when the user chose to print. Nothing is printed by prompts that do not offer it.
     */
    virtual bool PrintSetup(QWidget* parent, QPrinter& printer, const QString& title);
    /** The printer's set-up dialog (paper, orientation, the printer's options); true on OK. */
    virtual bool PrinterSetup(QWidget* parent, QPrinter& printer);

    /** The prompts in use: Qt's dialogs unless another set was installed. */
    static Prompts& Current();
    /** Qt's dialogs, whatever is installed: scripted prompts may leave some questions to them. */
    static Prompts& Dialogs();
    /** Installs prompts (not owned); nullptr returns to Qt's dialogs. */
    static void Install(Prompts* prompts);

    using FontDialog = std::function<std::optional<FontChoice>(QWidget* parent, const FontChoice& initial,
                                                               FontDialogOptions)>;
    /**
     * The font dialog the program's own prompts show (Qt's has no colour choice); the controls library
     * provides it. Without one, Qt's font dialog is shown and the colour stays.
     */
    static void SetFontDialog(FontDialog dialog);
};

} // namespace platform
