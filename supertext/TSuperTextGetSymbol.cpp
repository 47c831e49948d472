#include "supertext/TSuperTextGetSymbol.h"

#include "design/TGetLabelText.h"
#include "platform/Prompts.h"
#include "platform/SymbolFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace supertext {

namespace {

constexpr int kColumns = 15;
constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;
constexpr int kCellPixels = 24; // the height of the characters shown
constexpr int kCellSide = kCellPixels + 14;

} // namespace

QStringList TSuperTextGetSymbol::SymbolFonts()
{
    QStringList fonts = platform::TableSymbolFonts();
    for (const QString& family : QFontDatabase::families(QFontDatabase::Symbol)) {
        if (!QFontDatabase::isSmoothlyScalable(family) || QFontDatabase::isPrivateFamily(family))
            continue;
        // A family installed from several foundries ("Name [foundry]") is offered once, by its name.
        const QString name = family.section(QStringLiteral(" ["), 0, 0);
        if (!fonts.contains(name, Qt::CaseInsensitive))
            fonts.append(name);
    }
    fonts.sort(Qt::CaseInsensitive);
    return fonts;
}

TSuperTextGetSymbol::TSuperTextGetSymbol(QWidget* parent) : QDialog(parent)
{
    // Looking through the fonts may take a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waiting = true;
    setObjectName(QStringLiteral("SuperTextGetSymbol"));
    setWindowTitle(tr("Symbol Selector"));
    auto* layout = new QHBoxLayout(this);
    m_symbolSets = new QListWidget(this);
    m_symbolSets->setObjectName(QStringLiteral("SymbolSets"));
    m_symbolSets->setMinimumWidth(190);
    m_symbolSets->addItems(SymbolFonts());
    layout->addWidget(m_symbolSets);

    auto* right = new QVBoxLayout;
    const int rows = (kLastCode - kFirstCode + kColumns) / kColumns;
    m_symbolList = new QTableWidget(rows, kColumns, this);
    m_symbolList->setObjectName(QStringLiteral("SymbolList"));
    m_symbolList->horizontalHeader()->hide();
    m_symbolList->verticalHeader()->hide();
    m_symbolList->horizontalHeader()->setDefaultSectionSize(kCellSide);
    m_symbolList->verticalHeader()->setDefaultSectionSize(kCellSide);
    m_symbolList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_symbolList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_symbolList->setTextElideMode(Qt::ElideNone);
    m_symbolList->setWordWrap(false);
    m_symbolList->setMinimumSize(kColumns * kCellSide + 24, 8 * kCellSide);
    right->addWidget(m_symbolList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(tr("Ok"), this);
    ok->setObjectName(QStringLiteral("CopyCharButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(ok, &QPushButton::clicked, this, &TSuperTextGetSymbol::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_symbolSets, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!name.isEmpty())
            ChooseFont(name);
    });
    connect(m_symbolList, &QTableWidget::currentItemChanged, this, [this](QTableWidgetItem* item) {
        if (item && item->data(Qt::UserRole).isValid())
            m_code = item->data(Qt::UserRole).toInt();
    });
    connect(m_symbolList, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem* item) {
        if (item->data(Qt::UserRole).isValid()) {
            m_code = item->data(Qt::UserRole).toInt();
            tryAccept();
        }
    });

    // Wingdings first, when it is there; otherwise the first font of the list.
    if (m_symbolSets->count() > 0) {
        int wingdings = 0;
        for (int i = 0; i < m_symbolSets->count(); ++i) {
            if (m_symbolSets->item(i)->text().toUpper().contains(QLatin1String("WINGDING"))) {
                wingdings = i;
                break;
            }
        }
        m_symbolSets->setCurrentRow(wingdings);
    }
    design::CentreOverMainWindow(this);
}

TSuperTextGetSymbol::~TSuperTextGetSymbol()
{
    if (m_waiting)
        QApplication::restoreOverrideCursor();
}

void TSuperTextGetSymbol::ChooseFont(const QString& name)
{
    m_fontName = name;
    fillSymbolList();
}

void TSuperTextGetSymbol::fillSymbolList()
{
    QFont font(platform::DrawingFamily(m_fontName));
    font.setPixelSize(kCellPixels);
    const QSignalBlocker quiet(m_symbolList);
    m_symbolList->clearContents();
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        const int i = code - kFirstCode;
        const char32_t shown = platform::SymbolCharacter(m_fontName, code);
        auto* item =
            new QTableWidgetItem(platform::IsTableSymbolFont(m_fontName) ? QString::fromUcs4(&shown, 1)
                                                                         : platform::SymbolCodeText(code));
        item->setFont(font);
        item->setTextAlignment(Qt::AlignCenter);
        item->setData(Qt::UserRole, code);
        item->setToolTip(tr("Character %1").arg(code));
        m_symbolList->setItem(i / kColumns, i % kColumns, item);
    }
    // The first character counts as chosen until another is clicked.
    m_symbolList->setCurrentCell(0, 0);
    m_code = kFirstCode;
}

QString TSuperTextGetSymbol::Character() const
{
    return m_code < 0 ? QString() : platform::SymbolCodeText(m_code);
}

void TSuperTextGetSymbol::tryAccept()
{
    if (!m_fontName.isEmpty() || m_code >= 0)
        accept();
}

void TSuperTextGetSymbol::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_waiting) {
        m_waiting = false;
        QApplication::restoreOverrideCursor();
    }
}

int TSuperTextGetSymbol::exec()
{
    if (m_symbolSets->count() == 0) {
        if (m_waiting) {
            m_waiting = false;
            QApplication::restoreOverrideCursor();
        }
        platform::Prompts::Current().Information(parentWidget(), tr("No Symbol fonts installed"));
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

} // namespace supertext
