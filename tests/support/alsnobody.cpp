#include "alsnobody.h"

#include <QtGlobal>

#include <unistd.h>

AlsNobody::AlsNobody() : m_root(geteuid() == 0)
{
    if (m_root)
        m_ok = setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0;
}

AlsNobody::~AlsNobody()
{
    if (m_root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
        qFatal("cannot return to root");
}
