#include "controls/TFontDialog.h"

#include "platform/Prompts.h"
#include "platform/Screen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <map>

namespace controls {

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 1638;

// The styles a stored font can hold; the row is 2 × bold + italic.
const char* const kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};

struct NamedColor
{
    const char* name;
    platform::TColor color;
};
const NamedColor kColors[] = {
    {"Black", platform::clBlack}, {"Maroon", platform::clMaroon},   {"Green", platform::clGreen},
    {"Olive", platform::clOlive}, {"Navy", platform::clNavy},       {"Purple", platform::clPurple},
    {"Teal", platform::clTeal},   {"Gray", platform::clGray},       {"Silver", platform::clSilver},
    {"Red", platform::clRed},     {"Lime", platform::clLime},       {"Yellow", platform::clYellow},
    {"Blue", platform::clBlue},   {"Fuchsia", platform::clFuchsia}, {"Aqua", platform::clAqua},
    {"White", platform::clWhite},
};
constexpr int kStandardColors = int(std::size(kColors));

// Marks the combo entry that holds a colour outside the standard ones.
constexpr int kCustomRole = Qt::UserRole + 1;

/** A family name without the foundry Qt appends when two foundries make it ("C059 [urw]"). */
QString WithoutFoundry(const QString& family)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    QString name = family;
    name.remove(foundry);
    return name;
}

QIcon Swatch(platform::TColor color)
{
    QPixmap swatch(24, 14);
    swatch.fill(platform::ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return QIcon(swatch);
}

QListWidgetItem* FindItem(const QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchFixedString);
    return found.isEmpty() ? nullptr : found.first();
}

/** Arrow and page keys typed into an edit move the list below it, as in the usual font dialogs. */
class ListKeys : public QObject
{
public:
    ListKeys(QLineEdit* edit, QListWidget* list) : QObject(edit), m_list(list)
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_list, event);
            return true;
        default:
            return false;
        }
    }

private:
    QListWidget* m_list;
};

} // namespace

/** The sample text in the chosen font and colour. */
class FontSample : public QFrame
{
public:
    explicit FontSample(QWidget* parent) : QFrame(parent)
    {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setMinimumSize(180, 64);
    }
    QFont font;
    QColor color;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.setClipRect(contentsRect());
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(contentsRect(), Qt::AlignCenter, QStringLiteral("AaBbYyZz"));
    }
};

TFontDialog::TFontDialog(QWidget* parent, platform::FontDialogOptions options) : QDialog(parent)
{
    setWindowTitle(tr("Font"));
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QGridLayout;
    layout->addLayout(lists);

    auto* familyLabel = new QLabel(tr("&Font:"), this);
    m_familyEdit = new QLineEdit(this);
    m_familyList = new QListWidget(this);
    m_familyList->addItems(Families(options));
    m_familyList->setMinimumWidth(200);
    familyLabel->setBuddy(m_familyEdit);

    auto* styleLabel = new QLabel(tr("Font st&yle:"), this);
    m_styleList = new QListWidget(this);
    for (const char* style : kStyles)
        m_styleList->addItem(tr(style));
    m_styleList->setMinimumWidth(120);
    styleLabel->setBuddy(m_styleList);

    auto* sizeLabel = new QLabel(tr("&Size:"), this);
    m_sizeEdit = new QLineEdit(this);
    m_sizeEdit->setValidator(new QIntValidator(0, 9999, m_sizeEdit));
    m_sizeList = new QListWidget(this);
    m_sizeList->setMaximumWidth(70);
    sizeLabel->setBuddy(m_sizeEdit);

    lists->addWidget(familyLabel, 0, 0);
    lists->addWidget(m_familyEdit, 1, 0);
    lists->addWidget(m_familyList, 2, 0);
    lists->addWidget(styleLabel, 0, 1);
    lists->addWidget(m_styleList, 1, 1, 2, 1);
    lists->addWidget(sizeLabel, 0, 2);
    lists->addWidget(m_sizeEdit, 1, 2);
    lists->addWidget(m_sizeList, 2, 2);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(1, 2);

    auto* lower = new QHBoxLayout;
    layout->addLayout(lower);
    auto* effects = new QGroupBox(tr("Effects"), this);
    auto* effectsLayout = new QVBoxLayout(effects);
    m_strikeOut = new QCheckBox(tr("Stri&keout"), effects);
    m_underline = new QCheckBox(tr("&Underline"), effects);
    auto* colorLabel = new QLabel(tr("&Color:"), effects);
    m_color = new QComboBox(effects);
    for (const NamedColor& c : kColors)
        m_color->addItem(Swatch(c.color), tr(c.name), c.color);
    m_color->addItem(tr("More Colors..."));
    colorLabel->setBuddy(m_color);
    effectsLayout->addWidget(m_strikeOut);
    effectsLayout->addWidget(m_underline);
    effectsLayout->addWidget(colorLabel);
    effectsLayout->addWidget(m_color);
    effectsLayout->addStretch();
    lower->addWidget(effects);

    auto* sampleBox = new QGroupBox(tr("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    m_sample = new FontSample(sampleBox);
    sampleLayout->addWidget(m_sample);
    lower->addWidget(sampleBox, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFontDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFontDialog::reject);

    new ListKeys(m_familyEdit, m_familyList);
    new ListKeys(m_sizeEdit, m_sizeList);
    connect(m_familyEdit, &QLineEdit::textEdited, this, &TFontDialog::familyTyped);
    connect(m_familyList, &QListWidget::currentItemChanged, this, &TFontDialog::familyPicked);
    connect(m_styleList, &QListWidget::currentRowChanged, this, &TFontDialog::updateSample);
    connect(m_sizeEdit, &QLineEdit::textEdited, this, &TFontDialog::sizeTyped);
    connect(m_sizeList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && !m_syncing)
            m_sizeEdit->setText(item->text());
        updateSample();
    });
    connect(m_strikeOut, &QCheckBox::toggled, this, &TFontDialog::updateSample);
    connect(m_underline, &QCheckBox::toggled, this, &TFontDialog::updateSample);
    connect(m_color, &QComboBox::activated, this, &TFontDialog::colorActivated);

    SetChoice({QFont(), platform::clWindowText});
    m_familyEdit->setFocus();
}

QWidget* TFontDialog::Sample() const
{
    return m_sample;
}

QStringList TFontDialog::Families(platform::FontDialogOptions options)
{
    const bool scalableOnly = options.testFlag(platform::FontDialogOption::ScalableOnly);
    // The same family from several foundries is offered once, when any of them qualifies.
    std::map<QString, QString> families;
    for (const QString& family : QFontDatabase::families()) {
        if (scalableOnly && !QFontDatabase::isSmoothlyScalable(family))
            continue;
        const QString name = WithoutFoundry(family);
        families.emplace(name.toCaseFolded(), name);
    }
    QStringList result;
    for (const auto& entry : families)
        result.append(entry.second);
    return result;
}

QString TFontDialog::DrawnFamily(const QString& name)
{
    return WithoutFoundry(QFontInfo(QFont(name)).family());
}

void TFontDialog::SetChoice(const platform::FontChoice& choice)
{
    m_syncing = true;
    m_storedName = choice.font.family();
    // A family of the list is shown as it is; any other name as the family drawn in its place.
    QListWidgetItem* family = FindItem(m_familyList, m_storedName);
    if (!family)
        family = FindItem(m_familyList, DrawnFamily(m_storedName));
    m_shownFamily = family ? family->text() : DrawnFamily(m_storedName);
    m_familyList->setCurrentItem(family);
    m_familyEdit->setText(m_shownFamily);
    m_familyEdit->selectAll();
    m_styleList->setCurrentRow((choice.font.bold() ? 2 : 0) + (choice.font.italic() ? 1 : 0));
    int points = choice.font.pointSize();
    if (points <= 0 && choice.font.pixelSize() > 0)
        points = platform::MulDiv(choice.font.pixelSize(), 72, platform::PixelsPerInch());
    m_sizeEdit->setText(QString::number(std::max(kMinSize, points)));
    fillSizes();
    m_strikeOut->setChecked(choice.font.strikeOut());
    m_underline->setChecked(choice.font.underline());
    selectColor(choice.color);
    m_syncing = false;
    updateSample();
}

QString TFontDialog::chosenFamily() const
{
    const QListWidgetItem* item = m_familyList->currentItem();
    const QString family = item ? item->text() : m_shownFamily;
    // The family shown for the stored name stands for that name.
    return family.compare(m_shownFamily, Qt::CaseInsensitive) == 0 ? m_storedName : family;
}

platform::FontChoice TFontDialog::Choice() const
{
    platform::FontChoice choice;
    choice.font = QFont(chosenFamily());
    bool ok = false;
    const int points = m_sizeEdit->text().toInt(&ok);
    choice.font.setPointSize(ok && points >= kMinSize ? std::min(points, kMaxSize) : 10);
    const int style = std::max(0, m_styleList->currentRow());
    choice.font.setBold(style >= 2);
    choice.font.setItalic(style % 2 == 1);
    choice.font.setUnderline(m_underline->isChecked());
    choice.font.setStrikeOut(m_strikeOut->isChecked());
    choice.color = m_color->itemData(m_colorIndex).toInt();
    return choice;
}

std::optional<platform::FontChoice> TFontDialog::Ask(QWidget* parent, const platform::FontChoice& initial,
                                                     platform::FontDialogOptions options)
{
    TFontDialog dialog(parent, options);
    dialog.SetChoice(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

void TFontDialog::Install()
{
    platform::Prompts::SetFontDialog(&TFontDialog::Ask);
}

void TFontDialog::accept()
{
    const QString typed = m_familyEdit->text().trimmed();
    const QListWidgetItem* item = m_familyList->currentItem();
    const bool familyKnown = typed.compare(m_shownFamily, Qt::CaseInsensitive) == 0 ||
                             (item && item->text().startsWith(typed, Qt::CaseInsensitive));
    if (!familyKnown) {
        platform::Prompts::Current().Information(
            this, tr("There is no font with that name.\nChoose a font from the list of fonts."));
        m_familyEdit->setFocus();
        m_familyEdit->selectAll();
        return;
    }
    bool ok = false;
    const int points = m_sizeEdit->text().toInt(&ok);
    if (!ok || points < kMinSize || points > kMaxSize) {
        platform::Prompts::Current().Information(
            this, tr("Size must be between %1 and %2 points.").arg(kMinSize).arg(kMaxSize));
        m_sizeEdit->setFocus();
        m_sizeEdit->selectAll();
        return;
    }
    QDialog::accept();
}

void TFontDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The lists know their height only now: bring the current entries to the middle.
    for (QListWidget* list : {m_familyList, m_sizeList}) {
        if (list->currentItem())
            list->scrollToItem(list->currentItem(), QAbstractItemView::PositionAtCenter);
    }
}

void TFontDialog::familyTyped(const QString& text)
{
    // The first family that begins with what was typed; none when nothing does.
    QListWidgetItem* match = nullptr;
    const QString typed = text.trimmed();
    for (int i = 0; i < m_familyList->count() && !typed.isEmpty(); ++i) {
        if (m_familyList->item(i)->text().startsWith(typed, Qt::CaseInsensitive)) {
            match = m_familyList->item(i);
            break;
        }
    }
    m_syncing = true;
    m_familyList->setCurrentItem(match);
    if (match)
        m_familyList->scrollToItem(match);
    m_syncing = false;
    fillSizes();
    updateSample();
}

void TFontDialog::familyPicked()
{
    if (m_syncing)
        return;
    if (const QListWidgetItem* item = m_familyList->currentItem())
        m_familyEdit->setText(item->text());
    fillSizes();
    updateSample();
}

void TFontDialog::fillSizes()
{
    const QListWidgetItem* item = m_familyList->currentItem();
    const QString family = item ? item->text() : m_shownFamily;
    QList<int> sizes =
        QFontDatabase::isSmoothlyScalable(family) ? QList<int>() : QFontDatabase::pointSizes(family);
    if (sizes.isEmpty())
        sizes = QFontDatabase::standardSizes();
    const bool syncing = m_syncing;
    m_syncing = true;
    m_sizeList->clear();
    for (int size : sizes)
        m_sizeList->addItem(QString::number(size));
    m_syncing = syncing;
    sizeTyped(m_sizeEdit->text());
}

void TFontDialog::sizeTyped(const QString& text)
{
    const bool syncing = m_syncing;
    m_syncing = true;
    QListWidgetItem* match = FindItem(m_sizeList, text.trimmed());
    m_sizeList->setCurrentItem(match);
    if (match)
        m_sizeList->scrollToItem(match);
    m_syncing = syncing;
    updateSample();
}

void TFontDialog::colorActivated(int index)
{
    if (m_color->itemData(index).isValid()) {
        m_colorIndex = index;
    } else {
        // "More Colors...": any colour through the colour dialog; cancelled, the colour stays.
        const platform::TColor current = m_color->itemData(m_colorIndex).toInt();
        if (const std::optional<platform::TColor> chosen =
                platform::Prompts::Current().ChooseColor(this, current))
            selectColor(*chosen);
        else
            m_color->setCurrentIndex(m_colorIndex);
    }
    updateSample();
}

void TFontDialog::selectColor(platform::TColor color)
{
    int index = -1;
    for (int i = 0; i < m_color->count(); ++i) {
        if (m_color->itemData(i).isValid() && m_color->itemData(i).toInt() == color) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        // One entry holds a colour outside the standard ones: the font's own, or one chosen with More Colors.
        const QString name = color == platform::clWindowText ? tr("Window Text")
                             : color < 0                     ? tr("System Color")
                                                             : tr("Custom");
        index = kStandardColors;
        if (m_color->itemData(index, kCustomRole).toBool()) {
            m_color->setItemText(index, name);
            m_color->setItemIcon(index, Swatch(color));
            m_color->setItemData(index, color);
        } else {
            m_color->insertItem(index, Swatch(color), name, color);
            m_color->setItemData(index, true, kCustomRole);
        }
    }
    m_colorIndex = index;
    m_color->setCurrentIndex(index);
}

void TFontDialog::updateSample()
{
    if (m_syncing)
        return;
    const platform::FontChoice choice = Choice();
    QFont font = choice.font;
    font.setPixelSize(std::max(1, platform::MulDiv(choice.font.pointSize(), platform::PixelsPerInch(), 72)));
    m_sample->font = font;
    m_sample->color = platform::ToQColor(choice.color);
    m_sample->update();
}

} // namespace controls
