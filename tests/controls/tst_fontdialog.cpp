#include "controls/TFontDialog.h"
#include "platform/Prompts.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using controls::TFontDialog;
using platform::FontChoice;

namespace {

QFont MakeFont(const QString& family, int points, bool bold = false, bool italic = false)
{
    QFont font(family);
    font.setPointSize(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void ClickOk(QDialog* dialog)
{
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

void ClickItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
}

/** How many different colours a picture holds: a few for an empty box, many for drawn text. */
int ColoursIn(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

/** Opens the combo's list with a click and clicks the entry. */
void ChooseFromCombo(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    // The pointer comes to the entry before the click, as a hand on the mouse brings it.
    QTest::mouseMove(view->viewport(), view->visualRect(item).center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    QTRY_VERIFY(!view->isVisible());
}

/** A one-glyph bitmap font in BDF, the text form that fontconfig and FreeType read. */
QByteArray BitmapFont()
{
    return QByteArrayLiteral("STARTFONT 2.1\n"
                             "FONT -datoria-Datoria Bitmap Test-medium-r-normal--8-80-75-75-c-80-iso10646-1\n"
                             "SIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 4\n"
                             "FAMILY_NAME \"Datoria Bitmap Test\"\nWEIGHT_NAME \"Medium\"\n"
                             "FONT_ASCENT 8\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\n"
                             "STARTCHAR A\nENCODING 65\nSWIDTH 1000 0\nDWIDTH 8 0\nBBX 8 8 0 0\nBITMAP\n"
                             "18\n24\n42\n42\n7E\n42\n42\n00\nENDCHAR\nENDFONT\n");
}

} // namespace

class TestFontDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_bitmapFamily;

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        if (!QFontDatabase::families().contains(QStringLiteral("Liberation Serif")))
            QSKIP("the Liberation fonts are not installed");
        QFile bdf(m_folder.filePath(QStringLiteral("bitmap.bdf")));
        QVERIFY(bdf.open(QIODevice::WriteOnly));
        bdf.write(BitmapFont());
        bdf.close();
        const int id = QFontDatabase::addApplicationFont(bdf.fileName());
        if (id >= 0)
            m_bitmapFamily = QFontDatabase::applicationFontFamilies(id).value(0);
    }

    // Every font opens as itself; a name the system draws with another family shows that family, and OK
    // without a change gives back the stored name, size, styles and colour.
    void opensOnTheFontItEdits_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<platform::TColor>("color");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("style");
        QTest::newRow("title font") << MakeFont(QStringLiteral("Times New Roman"), 26, true)
                                    << platform::TColor(platform::clWindowText)
                                    << QStringLiteral("Liberation Serif") << QStringLiteral("Bold");
        QTest::newRow("alias, italic, custom colour")
            << MakeFont(QStringLiteral("Arial"), 9, false, true) << platform::TColor(0x123456)
            << QStringLiteral("Liberation Sans") << QStringLiteral("Italic");
        QTest::newRow("real family, any case")
            << MakeFont(QStringLiteral("liberation mono"), 13, true, true)
            << platform::TColor(platform::clRed) << QStringLiteral("Liberation Mono")
            << QStringLiteral("Bold Italic");
    }
    void opensOnTheFontItEdits()
    {
        QFETCH(QFont, font);
        QFETCH(platform::TColor, color);
        QFETCH(QString, shown);
        QFETCH(QString, style);
        font.setUnderline(true);
        TFontDialog dialog;
        dialog.SetChoice({font, color});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.FamilyEdit()->text(), shown);
        QVERIFY(ColoursIn(dialog.FamilyEdit()->grab().toImage()) > 8); // its text is drawn
        QVERIFY(dialog.FamilyList()->currentItem());
        QCOMPARE(dialog.FamilyList()->currentItem()->text(), shown);
        QCOMPARE(dialog.StyleList()->currentItem()->text(), style);
        QCOMPARE(dialog.SizeEdit()->text(), QString::number(font.pointSize()));
        QVERIFY(dialog.UnderlineBox()->isChecked());
        QVERIFY(!dialog.StrikeOutBox()->isChecked());
        ClickOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const FontChoice choice = dialog.Choice();
        QCOMPARE(choice.font.family(), font.family());
        QCOMPARE(choice.font.pointSize(), font.pointSize());
        QCOMPARE(choice.font.bold(), font.bold());
        QCOMPARE(choice.font.italic(), font.italic());
        QVERIFY(choice.font.underline());
        QVERIFY(!choice.font.strikeOut());
        QCOMPARE(choice.color, color);
    }

    // Typed, clicked and chosen: every part of the font comes back as the user set it.
    void everyPartCanChange()
    {
        testsupport::ScriptedPrompts prompts;
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Times New Roman"), 26, true), platform::clWindowText});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.FamilyEdit()->selectAll();
        QTest::keyClicks(dialog.FamilyEdit(), QStringLiteral("dejavu ser"));
        QCOMPARE(dialog.FamilyList()->currentItem()->text(), QStringLiteral("DejaVu Serif"));
        // A family far down the list comes into view as it is typed.
        dialog.FamilyEdit()->selectAll();
        QTest::keyClicks(dialog.FamilyEdit(), QStringLiteral("symb"));
        QListWidget* families = dialog.FamilyList();
        QCOMPARE(families->currentItem()->text(), QStringLiteral("Symbola"));
        QVERIFY(families->viewport()->rect().contains(families->visualItemRect(families->currentItem())));
        dialog.FamilyEdit()->selectAll();
        QTest::keyClicks(dialog.FamilyEdit(), QStringLiteral("dejavu serif"));
        ClickItem(dialog.StyleList(), QStringLiteral("Italic"));
        ClickItem(dialog.SizeList(), QStringLiteral("14"));
        QCOMPARE(dialog.SizeEdit()->text(), QStringLiteral("14"));
        dialog.SizeEdit()->selectAll();
        QTest::keyClicks(dialog.SizeEdit(), QStringLiteral("13"));
        QTest::mouseClick(dialog.StrikeOutBox(), Qt::LeftButton);
        ChooseFromCombo(dialog.ColorCombo(), QStringLiteral("Red"));
        ClickOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const FontChoice choice = dialog.Choice();
        QCOMPARE(choice.font.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(choice.font.pointSize(), 13);
        QVERIFY(!choice.font.bold());
        QVERIFY(choice.font.italic());
        QVERIFY(choice.font.strikeOut());
        QVERIFY(!choice.font.underline());
        QCOMPARE(choice.color, platform::clRed);
        QVERIFY(prompts.messages.isEmpty());
    }

    // The arrow keys in the family box walk the list; picking the shown family again keeps the stored name.
    void arrowKeysWalkTheList()
    {
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Times New Roman"), 12), platform::clBlack});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const int row = dialog.FamilyList()->currentRow();
        QTest::keyClick(dialog.FamilyEdit(), Qt::Key_Down);
        QCOMPARE(dialog.FamilyList()->currentRow(), row + 1);
        QCOMPARE(dialog.FamilyEdit()->text(), dialog.FamilyList()->currentItem()->text());
        QVERIFY(dialog.Choice().font.family() != QStringLiteral("Times New Roman"));
        QTest::keyClick(dialog.FamilyEdit(), Qt::Key_Up);
        QCOMPARE(dialog.FamilyEdit()->text(), QStringLiteral("Liberation Serif"));
        QCOMPARE(dialog.Choice().font.family(), QStringLiteral("Times New Roman"));
    }

    // "More Colors..." asks for any colour; cancelled, the colour stays.
    void moreColors()
    {
        testsupport::ScriptedPrompts prompts;
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Arial"), 10), platform::clBlue});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.ColorCombo()->currentText(), QStringLiteral("Blue"));
        prompts.color = 0x336699;
        ChooseFromCombo(dialog.ColorCombo(), QStringLiteral("More Colors..."));
        QCOMPARE(dialog.Choice().color, 0x336699);
        QCOMPARE(dialog.ColorCombo()->currentText(), QStringLiteral("Custom"));
        prompts.color.reset();
        ChooseFromCombo(dialog.ColorCombo(), QStringLiteral("More Colors..."));
        QCOMPARE(dialog.Choice().color, 0x336699);
        ChooseFromCombo(dialog.ColorCombo(), QStringLiteral("Green"));
        QCOMPARE(dialog.Choice().color, platform::clGreen);
    }

    // A family that is not in the list, or a size out of range, keeps the dialog open with a message.
    void refusesWhatItCannotGive_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such family")
            << QStringLiteral("No Such Font") << QStringLiteral("10")
            << QStringLiteral("There is no font with that name.\nChoose a font from "
                              "the list of fonts.");
        QTest::newRow("size 0") << QString() << QStringLiteral("0")
                                << QStringLiteral("Size must be between 1 and 1638 points.");
        QTest::newRow("size 1639") << QString() << QStringLiteral("1639")
                                   << QStringLiteral("Size must be between 1 and 1638 points.");
        QTest::newRow("no size") << QString() << QString()
                                 << QStringLiteral("Size must be between 1 and 1638 points.");
    }
    void refusesWhatItCannotGive()
    {
        QFETCH(QString, family);
        QFETCH(QString, size);
        QFETCH(QString, message);
        testsupport::ScriptedPrompts prompts;
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Arial"), 10), platform::clBlack});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (!family.isEmpty()) {
            dialog.FamilyEdit()->selectAll();
            QTest::keyClicks(dialog.FamilyEdit(), family);
        }
        dialog.SizeEdit()->selectAll();
        QTest::keyClick(dialog.SizeEdit(), Qt::Key_Backspace);
        QTest::keyClicks(dialog.SizeEdit(), size);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(prompts.messages, QStringList{message});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // The dialog opens with the font's family and size in the middle of their lists.
    void opensWithTheChoiceInView()
    {
        // A machine may have only a dozen families, so the family list is made five rows high: short
        // enough that the family three quarters down cannot be seen without scrolling to it.
        const QStringList names = TFontDialog::Families({});
        QVERIFY(names.size() >= 10);
        const QString family = names.at(names.size() * 3 / 4);
        TFontDialog dialog;
        dialog.FamilyList()->setFixedHeight(5 * dialog.FamilyList()->sizeHintForRow(0) +
                                            2 * dialog.FamilyList()->frameWidth());
        dialog.SetChoice({MakeFont(family, 72), platform::clBlack});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // The family list is long enough to centre it; the size list shows its last size at its end.
        QListWidget* families = dialog.FamilyList();
        QCOMPARE(families->currentItem()->text(), family);
        const QRect item = families->visualItemRect(families->currentItem());
        QVERIFY(std::abs(item.center().y() - families->viewport()->rect().center().y()) <= item.height());
        QListWidget* sizes = dialog.SizeList();
        QCOMPARE(sizes->currentItem()->text(), QStringLiteral("72"));
        QVERIFY(sizes->viewport()->rect().contains(sizes->visualItemRect(sizes->currentItem())));
    }

    // The smallest and the largest size the dialog gives are given as typed.
    void sizesAtTheBounds_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("smallest") << 1;
        QTest::newRow("largest") << 1638;
    }
    void sizesAtTheBounds()
    {
        QFETCH(int, size);
        testsupport::ScriptedPrompts prompts;
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Arial"), 10), platform::clBlack});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.SizeEdit()->selectAll();
        QTest::keyClicks(dialog.SizeEdit(), QString::number(size));
        ClickOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Choice().font.pointSize(), size);
        QVERIFY(prompts.messages.isEmpty());
    }

    // Typing inside the size box leaves the caret where the typing is, also when the text names a listed
    // size.
    void typingInsideTheSizeBox()
    {
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Arial"), 2), platform::clBlack});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QLineEdit* size = dialog.SizeEdit();
        size->setFocus();
        QTest::keyClick(size, Qt::Key_Home);
        QTest::keyClick(size, Qt::Key_1);
        QCOMPARE(size->text(), QStringLiteral("12"));
        QCOMPARE(dialog.SizeList()->currentItem()->text(), QStringLiteral("12"));
        QCOMPARE(size->cursorPosition(), 1);
        // A size typed far down the list brings it into view.
        size->selectAll();
        QTest::keyClicks(size, QStringLiteral("72"));
        QListWidget* sizes = dialog.SizeList();
        QCOMPARE(sizes->currentItem()->text(), QStringLiteral("72"));
        QVERIFY(sizes->viewport()->rect().contains(sizes->visualItemRect(sizes->currentItem())));
    }

    // A standard colour opens as its own entry, the first one of the list too.
    void standardColoursOpenByName_data()
    {
        QTest::addColumn<platform::TColor>("color");
        QTest::addColumn<QString>("name");
        QTest::newRow("first entry") << platform::TColor(platform::clBlack) << QStringLiteral("Black");
        QTest::newRow("another") << platform::TColor(platform::clMaroon) << QStringLiteral("Maroon");
    }
    void standardColoursOpenByName()
    {
        QFETCH(platform::TColor, color);
        QFETCH(QString, name);
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Arial"), 10), color});
        QCOMPARE(dialog.ColorCombo()->currentText(), name);
        QCOMPARE(dialog.ColorCombo()->findText(QStringLiteral("Custom")), -1);
        QCOMPARE(dialog.Choice().color, color);
    }

    // While the size box holds a size the dialog cannot give, the sample shows the text at 10 points.
    void sampleOfASizeItCannotGive()
    {
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Arial"), 26), platform::clBlack});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto sampleFor = [&dialog](const QString& size) {
            dialog.SizeEdit()->selectAll();
            QTest::keyClick(dialog.SizeEdit(), Qt::Key_Backspace);
            QTest::keyClicks(dialog.SizeEdit(), size);
            return dialog.Sample()->grab().toImage();
        };
        const QImage ten = sampleFor(QStringLiteral("10"));
        QVERIFY(ten != sampleFor(QStringLiteral("26")));
        QCOMPARE(sampleFor(QStringLiteral("0")), ten);
    }

    // Offered only outline fonts, the dialog leaves out bitmap fonts.
    void scalableOnly()
    {
        if (m_bitmapFamily.isEmpty())
            QSKIP("a bitmap font could not be added");
        QVERIFY(TFontDialog::Families({}).contains(m_bitmapFamily));
        const QStringList outlines = TFontDialog::Families(platform::FontDialogOption::ScalableOnly);
        QVERIFY(!outlines.contains(m_bitmapFamily));
        QVERIFY(outlines.contains(QStringLiteral("Liberation Serif")));
        TFontDialog dialog(nullptr, platform::FontDialogOption::ScalableOnly);
        QVERIFY(dialog.FamilyList()->findItems(m_bitmapFamily, Qt::MatchExactly).isEmpty());
        // Each family once, without the foundry that tells two makers apart.
        for (const QString& family : outlines) {
            QVERIFY2(!family.contains(u'['), qPrintable(family));
            QCOMPARE(outlines.count(family), 1);
        }
    }

    // The program's prompts show this dialog once it is installed, with the options asked for.
    void theProgramsPromptsShowIt()
    {
        TFontDialog::Install();
        TFontDialog* shown = nullptr;
        bool offersBitmaps = true;
        testsupport::WhenDialogOpens(this, [&](QWidget* modal) {
            shown = qobject_cast<TFontDialog*>(modal);
            if (!shown) {
                modal->close();
                return;
            }
            offersBitmaps = !m_bitmapFamily.isEmpty() &&
                            !shown->FamilyList()->findItems(m_bitmapFamily, Qt::MatchExactly).isEmpty();
            shown->UnderlineBox()->setChecked(true);
            ClickOk(shown);
        });
        const std::optional<FontChoice> chosen = platform::Prompts::Current().ChooseFont(
            nullptr, {MakeFont(QStringLiteral("Times New Roman"), 26, true), platform::clMaroon},
            platform::FontDialogOption::ScalableOnly);
        platform::Prompts::SetFontDialog(nullptr);
        QVERIFY(shown);
        QVERIFY(!offersBitmaps);
        QVERIFY(chosen);
        QCOMPARE(chosen->font.family(), QStringLiteral("Times New Roman"));
        QVERIFY(chosen->font.bold() && chosen->font.underline());
        QCOMPARE(chosen->color, platform::clMaroon);
    }

    // The sample shows the text in the chosen colour; a picture of the dialog is kept when asked for.
    void sampleShowsTheColour()
    {
        TFontDialog dialog;
        dialog.SetChoice({MakeFont(QStringLiteral("Times New Roman"), 26, true), platform::clRed});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto count = [&dialog](platform::TColor color) {
            const QImage sample = dialog.Sample()->grab().toImage();
            return testsupport::CountColor(sample, {0, 0, sample.width(), sample.height()}, color);
        };
        QVERIFY(count(platform::clRed) > 50);
        ChooseFromCombo(dialog.ColorCombo(), QStringLiteral("Blue"));
        QCOMPARE(count(platform::clRed), 0);
        QVERIFY(count(platform::clBlue) > 50);
        const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (!folder.isEmpty())
            dialog.grab().save(folder + QStringLiteral("/font-dialog.png"));
    }
};

QTEST_MAIN(TestFontDialog)
#include "tst_fontdialog.moc"
