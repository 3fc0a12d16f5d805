#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// The track of one recording: one point per second as the track document gives them, a few
// values over the whole track and a current point. Filled once by the loader, then only the
// current point moves.
//
// Points are numbered from 1. After n points the numbers run from 1 to n + 1: the last slot
// is empty (zeros and empty texts) and the next point fills it. Every current-point property
// reads the point at lPlayLocal and gives 0 or "" when lPlayLocal lies outside that range.
class clsDot {
  public:
    clsDot();

    // Adds a point in the top slot. x and y are the longitude and latitude texts × 10,000,000
    // rounded to the nearest (halves to even); throws std::runtime_error when a text is not a
    // number or its fixed-point value does not fit 32 bits.
    void SetDot(const QString& date, const QString& time, std::int16_t speed, std::int32_t second,
                const QString& longitude, const QString& latitude, double gSum, std::int16_t angle,
                double gX, double gY, double gZ);

    std::int32_t lSerial = 0;
    std::int32_t lPlayLocal = 0;
    std::int32_t lDotCount() const { return m_count; }
    std::int32_t lLastSecond() const { return m_lastSecond; }
    double dMaxSpeed() const { return m_maxSpeed; }
    // The highest and lowest of every point's three axes (not the sum); 0 from the start, so
    // never negative and never positive.
    double dMaxG() const { return m_maxG; }
    double dMinG() const { return m_minG; }

    // The current point.
    std::int16_t iAngelValue() const;
    // Longitude text, "|", latitude text.
    QString sLonLat() const;
    double dSpeed() const;
    double dG_Sum() const;
    double dG_x() const;
    double dG_y() const;
    double dG_z() const;
    double lSecond() const;
    QString strTime() const;
    QString strDate() const;

    // Point i; 0 or "" outside the numbers 1 … n + 1, except GetDotTime, which throws
    // std::out_of_range there.
    std::int32_t MouseSecond(std::int32_t i) const;
    std::int32_t GetDotTime(std::int32_t i) const;
    std::int16_t MouseSpeed(std::int32_t i) const;
    // "Time:", the time text, a carriage return, "Speed:", the speed × unitFactor with two
    // decimals in the user's number format.
    QString ShowInfo(std::int32_t i, double unitFactor) const;

    // The first point i (1 … n − 2) whose second and the next point's enclose second; the
    // current point stays when none does. The last pair is not searched.
    void ForcePlayLocal(std::int32_t second);
    // The first point i (1 … n − 2) whose rectangle with the next point holds (x, y), left
    // and top edges inside, right and bottom edges outside; a track of one point answers 1 for
    // its own position; 0 when nothing holds it. The last pair is not searched.
    std::int32_t lPtLocal(std::int32_t x, std::int32_t y) const;

  private:
    struct Point {
        std::int16_t speed = 0;
        QString time;
        QString date;
        std::int32_t second = 0;
        QString lonLat;
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int16_t angle = 0;
        double gSum = 0.0;
        double gX = 0.0;
        double gY = 0.0;
        double gZ = 0.0;
    };

    // nullptr outside 1 … n + 1.
    const Point* at(std::int32_t i) const;
    const Point* current() const { return at(lPlayLocal); }

    std::vector<Point> m_points;
    std::int32_t m_count = 0;
    std::int32_t m_lastSecond = 0;
    double m_maxSpeed = 0.0;
    double m_maxG = 0.0;
    double m_minG = 0.0;
};
