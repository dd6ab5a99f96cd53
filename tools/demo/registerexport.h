#pragma once

#include <QString>

// The central register's export of the members in the open books, as the member
// import reads it (German headers, UTF-8, every field quoted): every 25th current
// member is missing (has left), every 10th has a new telephone number, and two
// new members follow at the end.
struct RegisterExport
{
    int zeilen = 0;  // data lines written
    int fehlend = 0; // current members left out
    int neu = 0;     // members not in the books
};

// False when the file cannot be written.
bool DemoRegisterExport(const QString &datei, RegisterExport &inhalt);
