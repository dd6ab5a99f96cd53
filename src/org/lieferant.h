#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class WAdresse;
class WBank;

// The suppliers: key, telephone, fax and booking account of a `lieferant` row
// with its address and bank details (owner kind "L"). In creation mode the
// dialog closes as accepted after the first save; `angelegt()` names the key.
class Lieferant : public QDialog
{
    Q_OBJECT

public:
    explicit Lieferant(bool anlegen, QWidget *parent = nullptr);
    ~Lieferant() override;

    QString angelegt() const;

public slots:
    void pRead();
    void pWrite();
    void pCancel();
    void pDelete();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void pSetWahl(bool wahl);
    void pFelder();

    const bool m_anlegen;
    bool m_wahl = true; // selection mode: only the key is open for input
    bool m_liest = false;
    QString m_angelegt;

    QString m_bez;
    QString m_tel;
    QString m_fax;
    QString m_bukto;

    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_bezFeld = nullptr;
    QLabel *m_neu = nullptr;
    QLineEdit *m_telFeld = nullptr;
    QLineEdit *m_faxFeld = nullptr;
    QLineEdit *m_buktoFeld = nullptr;
    std::unique_ptr<WAdresse> m_adresse;
    std::unique_ptr<WBank> m_bank;
    QPushButton *m_speichern = nullptr;
    QPushButton *m_abbruch = nullptr;
    QPushButton *m_loeschen = nullptr;
};
