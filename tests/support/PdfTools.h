#pragma once

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

/**
 * What poppler's tools read from a PDF file: its pages as pictures (pdftoppm), its text (pdftotext) and its
 * properties (pdfinfo). Tests skip when the tools are not installed.
 */
class PdfTools
{
public:
    static bool Available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
    }

    /** Page 'page' (from 1) rendered at a resolution, as pdftoppm draws it. */
    static QImage Render(const QString& pdf, int page = 1, int dpi = 96)
    {
        QTemporaryDir dir;
        const QString stem = dir.path() + QStringLiteral("/page");
        const QString number = QString::number(page);
        if (!run(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), number,
                  QStringLiteral("-l"), number, QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
                  stem}))
            return QImage();
        return QImage(stem + QStringLiteral(".png"));
    }

    /** The text of one page (0: all pages), laid out in reading order. */
    static QString Text(const QString& pdf, int page = 0)
    {
        QStringList arguments;
        if (page > 0)
            arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                      << QString::number(page);
        arguments << pdf << QStringLiteral("-");
        QString out;
        run(QStringLiteral("pdftotext"), arguments, &out);
        return out;
    }

    /** The value of one pdfinfo field ("Pages", "Page size"), trimmed. */
    static QString Info(const QString& pdf, const QString& field)
    {
        QString out;
        run(QStringLiteral("pdfinfo"), {pdf}, &out);
        for (const QString& line : out.split(u'\n')) {
            if (line.startsWith(field + u':'))
                return line.mid(field.size() + 1).trimmed();
        }
        return QString();
    }

    /** pdffonts' table of the fonts a file uses. */
    static QString Fonts(const QString& pdf)
    {
        QString out;
        run(QStringLiteral("pdffonts"), {pdf}, &out);
        return out;
    }

private:
    static bool run(const QString& program, const QStringList& arguments, QString* out = nullptr)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return false;
        if (out)
            *out = QString::fromUtf8(process.readAllStandardOutput());
        return true;
    }
};

} // namespace testsupport
