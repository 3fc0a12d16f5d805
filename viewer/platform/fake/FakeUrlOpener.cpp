#include "platform/fake/FakeUrlOpener.h"

bool FakeUrlOpener::open(const QString& address) {
    m_opened << address;
    return m_result;
}
