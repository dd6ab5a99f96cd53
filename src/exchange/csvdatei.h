#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;
class WDatum;

// A delimited text file to read or to write, with the widgets in which the user
// chooses it and its two delimiters (and, for imports, the file's date).
// Not a widget itself: the dialog given at construction owns the widgets.
//
// The dialect: lines end in "\n" (on reading the line end stays in the last
// field, so readers trim); a text delimiter switches quoting on and off and is
// dropped, so a doubled one vanishes; on writing, the text delimiter inside a
// value becomes a blank. Values are written as Latin-1 (other characters as
// "?") and read as UTF-8; a field that is not valid UTF-8 is read as Latin-1,
// so that the program's own files and older Latin-1 exports read back as written.
class CSVDatei : public QObject
{
    Q_OBJECT

public:
    CSVDatei(bool mitDatum, bool lesen, QWidget *parent);
    ~CSVDatei() override;

    void setFlags(bool mitDatum, bool lesen);
    void FuellLayout(QGridLayout *layout, int zeile, int spalte);

    // Opens the file named in the field for the chosen direction; asks before
    // overwriting and reports a file that cannot be opened. True when it is open.
    bool isValid();
    // Closes the file; false when anything written since isValid() was lost.
    bool closeFile();
    // Closes a written file and tells the user under `titel`: "Fertig", or that
    // the file is incomplete and why.
    void fertig(QWidget *parent, const QString &titel);

    // Reading: startLine() loads the next line (false at the end of the file),
    // readField() returns its fields one by one until eol().
    bool startLine();
    QString readField();
    bool eol() const;

    // Writing: the fields of a line, the last one marked as such, then newLine().
    void write(const QString &wert, bool quoten, bool letztes);
    void newLine();
    // One whole line: every field quoted unless `quoten` says otherwise per field.
    void writeLine(const QStringList &werte, const QList<bool> &quoten = {});

    QDate creationDate() const;
    static QDate toDate(const QString &text, const QDate &ersatz);

    // What the user would type: the file name, the delimiters and the file's date.
    void setDateiName(const QString &name);
    QString dateiName() const;
    void setTrenner(const QString &feld, const QString &text);
    void setCreationDate(const QDate &datum);

public slots:
    void pDateiWahl();

private:
    void zeileSchreiben();

    bool m_mitDatum;
    bool m_lesen;
    QWidget *m_eltern;
    QFile m_datei;
    QByteArray m_zeile; // the line read, or the line being written
    int m_pos = -1; // read position in m_zeile; -1 without a line, past its end after the last field
    char m_feldTrenner = 0;
    char m_textTrenner = 0;
    bool m_schreibFehler = false;

    QLineEdit *m_name;
    QLineEdit *m_feld;
    QLineEdit *m_text;
    QPushButton *m_waehlen;
    WDatum *m_datum = nullptr;
};
