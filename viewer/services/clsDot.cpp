#include "services/clsDot.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "services/Rounding.h"

namespace {

std::int32_t fixedPoint(const QString& text) {
    bool ok = false;
    const double degrees = text.trimmed().toDouble(&ok);
    const double scaled = Rounding::halfEven(degrees * 10000000.0);
    if (!ok || !std::isfinite(scaled) || scaled < std::numeric_limits<std::int32_t>::min() ||
        scaled > std::numeric_limits<std::int32_t>::max()) {
        throw std::runtime_error("Type mismatch: \"" + text.toStdString() + "\" is no position");
    }
    return static_cast<std::int32_t>(scaled);
}

}  // namespace

clsDot::clsDot() : m_points(1) {}

void clsDot::SetDot(const QString& date, const QString& time, std::int16_t speed,
                    std::int32_t second, const QString& longitude, const QString& latitude,
                    double gSum, std::int16_t angle, double gX, double gY, double gZ) {
    Point point;
    point.date = date;
    point.time = time;
    point.speed = speed;
    point.second = second;
    point.lonLat = longitude + u'|' + latitude;
    point.x = fixedPoint(longitude);
    point.y = fixedPoint(latitude);
    point.gSum = gSum;
    point.gX = gX;
    point.gY = gY;
    point.gZ = gZ;
    point.angle = angle;
    m_points.back() = std::move(point);

    ++m_count;
    if (m_maxSpeed < speed) {
        m_maxSpeed = speed;
    }
    for (const double g : {gX, gY, gZ}) {
        if (m_maxG < g) {
            m_maxG = g;
        }
    }
    for (const double g : {gX, gY, gZ}) {
        if (m_minG > g) {
            m_minG = g;
        }
    }
    m_lastSecond = second;
    m_points.emplace_back();
}

const clsDot::Point* clsDot::at(std::int32_t i) const {
    if (i < 1 || static_cast<std::size_t>(i) > m_points.size()) {
        return nullptr;
    }
    return &m_points[static_cast<std::size_t>(i) - 1];
}

std::int16_t clsDot::iAngelValue() const {
    return current() != nullptr ? current()->angle : 0;
}

QString clsDot::sLonLat() const {
    return current() != nullptr ? current()->lonLat : QString();
}

double clsDot::dSpeed() const {
    return current() != nullptr ? current()->speed : 0.0;
}

double clsDot::dG_Sum() const {
    return current() != nullptr ? current()->gSum : 0.0;
}

double clsDot::dG_x() const {
    return current() != nullptr ? current()->gX : 0.0;
}

double clsDot::dG_y() const {
    return current() != nullptr ? current()->gY : 0.0;
}

double clsDot::dG_z() const {
    return current() != nullptr ? current()->gZ : 0.0;
}

double clsDot::lSecond() const {
    return current() != nullptr ? current()->second : 0.0;
}

QString clsDot::strTime() const {
    return current() != nullptr ? current()->time : QString();
}

QString clsDot::strDate() const {
    return current() != nullptr ? current()->date : QString();
}

std::int32_t clsDot::MouseSecond(std::int32_t i) const {
    const Point* point = at(i);
    return point != nullptr ? point->second : 0;
}

std::int32_t clsDot::GetDotTime(std::int32_t i) const {
    const Point* point = at(i);
    if (point == nullptr) {
        throw std::out_of_range("Subscript out of range");
    }
    return point->second;
}

std::int16_t clsDot::MouseSpeed(std::int32_t i) const {
    const Point* point = at(i);
    return point != nullptr ? point->speed : 0;
}

QString clsDot::ShowInfo(std::int32_t i, double unitFactor) const {
    const Point* point = at(i);
    if (point == nullptr) {
        return QString();
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return QStringLiteral("Time:") + point->time + u'\r' + QStringLiteral("Speed:") +
           locale.toString(point->speed * unitFactor, 'f', 2);
}

void clsDot::ForcePlayLocal(std::int32_t second) {
    for (std::int32_t i = 1; i <= m_count - 2; ++i) {
        if (at(i)->second <= second && second <= at(i + 1)->second) {
            lPlayLocal = i;
            return;
        }
    }
}

std::int32_t clsDot::lPtLocal(std::int32_t x, std::int32_t y) const {
    if (m_count == 1 && at(1)->x == x && at(1)->y == y) {
        return 1;
    }
    for (std::int32_t i = 1; i <= m_count - 2; ++i) {
        const Point& a = *at(i);
        const Point& b = *at(i + 1);
        const std::int32_t left = std::min(a.x, b.x);
        const std::int32_t right = std::max(a.x, b.x);
        const std::int32_t top = std::min(a.y, b.y);
        const std::int32_t bottom = std::max(a.y, b.y);
        if (left <= x && x < right && top <= y && y < bottom) {
            return i;
        }
    }
    return 0;
}
