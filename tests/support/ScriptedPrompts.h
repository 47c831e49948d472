#pragma once

#include "platform/Prompts.h"

#include <QPageLayout>
#include <QPrinter>
#include <QStringList>

#include <optional>

namespace testsupport {

/** Prompts that answer from a script and record what they were asked, installed for their lifetime. */
class ScriptedPrompts : public platform::Prompts
{
public:
    ScriptedPrompts() { Install(this); }
    ~ScriptedPrompts() override { Install(nullptr); }

    void Information(QWidget*, const QString& text) override { messages.append(text); }
    bool Question(QWidget* parent, const QString& caption, const QString& text) override
    {
        messages.append(text);
        if (realQuestions)
            return Dialogs().Question(parent, caption, text);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    /** Answers from answersOrCancel, else Yes or No from answers. */
    Answer QuestionOrCancel(QWidget* parent, const QString& caption, const QString& text) override
    {
        messages.append(text);
        if (realQuestions)
            return Dialogs().QuestionOrCancel(parent, caption, text);
        if (!answersOrCancel.isEmpty())
            return answersOrCancel.takeFirst();
        return !answers.isEmpty() && answers.takeFirst() ? Answer::Yes : Answer::No;
    }
    /** Answers with font (nothing when unset) in fontColor, or in the colour it was opened with. */
    std::optional<platform::FontChoice> ChooseFont(QWidget*, const platform::FontChoice& initial,
                                                   platform::FontDialogOptions options) override
    {
        fontsAsked.append(initial);
        fontOptions = options;
        if (!font)
            return std::nullopt;
        return platform::FontChoice{*font, fontColor.value_or(initial.color)};
    }
    std::optional<platform::TColor> ChooseColor(QWidget*, platform::TColor) override { return color; }

    std::optional<QString> OpenFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return openFiles.isEmpty() ? std::nullopt : std::optional<QString>(openFiles.takeFirst());
    }
    std::optional<QString> SaveFileName(QWidget*, const QString&, const QString& proposed,
                                        const QString&) override
    {
        proposedNames.append(proposed);
        return saveFiles.isEmpty() ? std::nullopt : std::optional<QString>(saveFiles.takeFirst());
    }

    /** Prints into printTarget as a PDF file on Letter paper; cancels when printTarget is empty. */
    bool PrintSetup(QWidget*, QPrinter& printer, const QString& title) override
    {
        printSetupTitles.append(title);
        printerLayoutsAsked.append(printer.pageLayout());
        printFilesProposed.append(printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                                : QString());
        if (printTarget.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTarget);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(printerOrientation);
        return true;
    }
    /** Records the paper it was opened with and takes printerSetupChoice when one is given. */
    bool PrinterSetup(QWidget*, QPrinter& printer) override
    {
        ++printerSetups;
        printerLayoutsAsked.append(printer.pageLayout());
        if (printerSetupChoice)
            printer.setPageLayout(*printerSetupChoice);
        return true;
    }

    QStringList messages;
    QStringList openFiles;
    QStringList saveFiles;
    QStringList proposedNames;
    QList<bool> answers;
    QList<Answer> answersOrCancel;
    /** Questions are Qt's real message boxes, to be answered with keys and clicks. */
    bool realQuestions = false;
    std::optional<QFont> font;
    std::optional<platform::TColor> fontColor;
    QList<platform::FontChoice> fontsAsked;
    platform::FontDialogOptions fontOptions;
    std::optional<platform::TColor> color;
    QString printTarget;
    /** The printer's own orientation before the job sets the calendar's. */
    QPageLayout::Orientation printerOrientation = QPageLayout::Landscape;
    QStringList printSetupTitles;
    int printerSetups = 0;
    /** The printer's paper each time the print or printer set-up window was asked for, in order. */
    QList<QPageLayout> printerLayoutsAsked;
    /** The PDF file the print window proposed each time (empty when it printed to a printer). */
    QStringList printFilesProposed;
    std::optional<QPageLayout> printerSetupChoice;
};

} // namespace testsupport
