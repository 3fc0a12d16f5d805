#include "platform/SeekQueue.h"

#include <cmath>

void SeekQueue::request(double seconds) {
    m_target = seconds;
}

std::optional<double> SeekQueue::take(qint64 now) {
    if (!m_target || m_sent) {
        return std::nullopt;
    }
    m_sent = m_target;
    m_sentAt = now;
    ++m_tries;
    return m_sent;
}

void SeekQueue::pictureShown(double seconds, qint64 now) {
    if (!m_sent) {
        return;
    }
    if (std::abs(seconds - *m_sent) <= kLandingSeconds) {
        land();
    } else if (now - m_sentAt >= kStrayPictureMilliseconds) {
        retry();
    }
}

void SeekQueue::positionRead(double seconds, bool picturesExpected, qint64 now) {
    if (!m_sent) {
        return;
    }
    const qint64 waited = now - m_sentAt;
    if (!picturesExpected && waited >= kPositionTrustMilliseconds &&
        std::abs(seconds - *m_sent) <= kLandingSeconds) {
        land();
    } else if (waited >= kResendMilliseconds) {
        retry();
    }
}

void SeekQueue::retry() {
    if (m_target != m_sent) {
        // A newer position waits: it goes instead, with tries of its own.
        m_tries = 0;
        m_sent.reset();
    } else if (m_tries >= kTries) {
        land();
    } else {
        m_sent.reset();
    }
}

void SeekQueue::land() {
    // A newer target stays for take(); the one just reached is done.
    if (m_target == m_sent) {
        m_target.reset();
    }
    m_sent.reset();
    m_tries = 0;
}

void SeekQueue::resend() {
    // The target stays while a seek is on its way, so take() gives it (or a newer one) again.
    m_sent.reset();
}

void SeekQueue::clear() {
    m_target.reset();
    m_sent.reset();
    m_tries = 0;
}
