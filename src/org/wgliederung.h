#pragma once

#include <QPushButton>

// A button whose caption is the chosen unit's short name; a click opens the
// unit chooser limited to the levels below its level limit.
class WGliederung : public QPushButton
{
    Q_OBJECT

public:
    explicit WGliederung(QWidget *parent = nullptr);
    void setEbene(int ebene);
    // Sets the caption and resets the level limit to all levels (9).
    void setText(const QString &text);

public slots:
    void pClicked();

private:
    int m_ebene = 9;
};
