// "Text": asks for the line of text the text tool writes, with a button for its font. The font
// button writes the chosen font into the tool's font at once, so a font chosen stays chosen even
// when the text dialog is then cancelled.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <string>

#include "gdi/font.h"

class QLineEdit;
class QPushButton;

namespace zk {

class CTextDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CTextDlg(QWidget* parent = nullptr);

    // Shows the dialog modally for `text` and `font`: true on OK, with `text` the text entered.
    // `font` takes the font chosen with the font button, however the dialog ends.
    static bool Ask(QWidget* parent, std::string& text, gdi::LogFont& font);

    // The font button: the font dialog without its effects, started from *m_pLogFont, which
    // takes the chosen font on its OK.
    void OnFont();

    // Map pixels are taken at 96 per inch, as the platform's screen has them, so a 10-point font
    // is 13 pixels tall on the map whatever the monitor.
    static QFont ToQFont(const gdi::LogFont& lf);
    static gdi::LogFont FromQFont(const QFont& f);

    void accept() override;

    QLineEdit* Edit() const { return m_edit; }
    QPushButton* FontButton() const { return m_font; }

    // The tool's font, edited in place by the font button; not owned.
    gdi::LogFont* m_pLogFont = nullptr;
    // Exchanged with the edit field: put into it when the dialog is shown, read back on OK.
    QString m_text;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* m_edit;
    QPushButton* m_font;
    bool m_initialised = false;
};

}  // namespace zk
