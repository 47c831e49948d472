#include "design/TRichTextLabelEditor.h"

#include "platform/Help.h"
#include "platform/Screen.h"
#include "richtext/CharAttributes.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace design {

namespace {
constexpr int kPanelMargin = 25;
constexpr int kPanelOffset = 8;
constexpr int kHelpTopic = 40013;
} // namespace

TRichTextLabelEditor::TRichTextLabelEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RichTextLabelEditor"));
    setWindowTitle(tr("Rich Text Editor"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new richtext::TVelRichToolBar(this);
    m_toolBar->SetNormalVisible(true);
    m_toolBar->setFixedHeight(28);
    // Narrower lists leave room for the buttons in the form's width.
    m_toolBar->FontBox()->setMaximumWidth(120);
    m_toolBar->ColorBox()->setMaximumWidth(90);
    layout->addWidget(m_toolBar);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_content = new QWidget;
    m_panel = new QFrame(m_content);
    m_panel->setObjectName(QStringLiteral("EditorPanel"));
    m_panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_panel->setLineWidth(1);
    m_panel->setAutoFillBackground(true);
    m_panel->move(kPanelOffset, kPanelOffset);
    SetPanelColor(Qt::white);
    auto* panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    m_editor = new richtext::TVelRichEdit(m_panel);
    m_editor->setObjectName(QStringLiteral("RichEdit"));
    m_editor->SetWordWrap(true);
    m_editor->SetZoomPercent(100);
    m_editor->setTabChangesFocus(false);
    m_editor->document()->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    // The editor shows the panel's colour: the label's background.
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setAutoFillBackground(false);
    panelLayout->addWidget(m_editor);
    m_editor->AttachToolBar(m_toolBar);
    m_panel->hide();
    m_scroll->setWidget(m_content);
    layout->addWidget(m_scroll, 1);

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(8, 6, 8, 6);
    strip->addStretch(1);
    m_ok = new QPushButton(tr("Ok"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAutoDefault(false);
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    help->setAutoDefault(false);
    for (QPushButton* button : {m_ok, m_cancel, help})
        strip->addWidget(button);
    layout->addLayout(strip);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, kHelpTopic); });

    SetTextArea(190, 33);
    resize(592, 343);
}

void TRichTextLabelEditor::SetPanelColor(const QColor& color)
{
    QPalette palette = m_panel->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    m_panel->setPalette(palette);
}

void TRichTextLabelEditor::SetTextArea(int w, int h)
{
    w = std::max(1, w);
    h = std::max(1, h);
    m_panel->resize(w + kPanelMargin, h + kPanelMargin);
    m_content->resize(m_panel->x() + m_panel->width() + kPanelOffset,
                      m_panel->y() + m_panel->height() + kPanelOffset);
    // The page the text wraps on: the label's width, in twips at the screen's resolution.
    const int ppi = platform::PixelsPerInch();
    m_editor->SetPageSizeTwips(w * 1440 / ppi, h * 1440 / ppi);
}

void TRichTextLabelEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once the form is up: the panel appears and the editor takes the focus with its text shown.
    QTimer::singleShot(0, this, [this] {
        m_panel->show();
        QCoreApplication::processEvents();
        if (m_editor->IsEmpty())
            m_editor->SetCurrentAttributes(richtext::CharAttributes{});
        m_editor->setFocus();
        m_editor->viewport()->update();
    });
}

} // namespace design
