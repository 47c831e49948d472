#pragma once

#include <QDialog>

class QListWidget;
class QTableWidget;

namespace supertext {

/**
 * "Symbol Selector": the symbol fonts, and the characters 32 to 255 of the chosen one in a grid of 15
 * columns. Ok, or a double click on a character, takes the font and the character.
 */
class TSuperTextGetSymbol : public QDialog
{
    Q_OBJECT

public:
    explicit TSuperTextGetSymbol(QWidget* parent = nullptr);
    ~TSuperTextGetSymbol() override;

    /** The symbol fonts offered, sorted: the ones drawn through the program's code tables, and installed
     * scalable fonts made of symbols. */
    static QStringList SymbolFonts();

    QString FontName() const { return m_fontName; }
    /** The chosen character as text of one character (its code through Windows-1252). */
    QString Character() const;
    int Code() const { return m_code; }

    /** Shows the characters of one of the fonts offered. */
    void ChooseFont(const QString& name);
    QListWidget* SymbolSets() const { return m_symbolSets; }
    QTableWidget* SymbolList() const { return m_symbolList; }

    /** With no symbol font to offer it says so and closes at once. */
    int exec() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillSymbolList();
    void tryAccept();

    QListWidget* m_symbolSets = nullptr;
    QTableWidget* m_symbolList = nullptr;
    QString m_fontName;
    int m_code = -1;
    bool m_waiting = false;
};

} // namespace supertext
