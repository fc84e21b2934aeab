#include "boxinfo.h"

bool BoxInfo::isValid() const
{
    return m_dealerId > 0 && m_boxId > 0;
}
