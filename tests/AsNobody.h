#pragma once

#include <QtGlobal>
#include <unistd.h>

// Root writes through any permission bits. As root, the checks that need a read-only file therefore run as the
// user "nobody" (effective ids only, so root comes back afterwards).
class AsNobody
{
public:
    AsNobody()
    {
        if (geteuid() == 0)
            m_switched = setegid(65534) == 0 && seteuid(65534) == 0;
    }
    ~AsNobody()
    {
        if (m_switched && (seteuid(0) != 0 || setegid(0) != 0))
            qFatal("cannot become root again");
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;
    bool permissionsApply() const { return geteuid() != 0; }

private:
    bool m_switched = false;
};
