#pragma once

namespace makerec {

// What the camera knew in one second of the recording.
struct RouteSecond {
    enum class Fix {
        Valid,   // 'A': a position fix
        Void,    // 'V': no fix, but the camera still wrote its record and the G-sensor
        Silent,  // 'S': the camera wrote nothing at all for this second
    };

    Fix fix = Fix::Silent;
    double latitude = 0;   // signed degrees, south negative
    double longitude = 0;  // signed degrees, west negative
    double speedKmh = 0;
    double heading = 0;  // degrees true
    double gx = 0;       // G-sensor, in g
    double gy = 0;
    double gz = 0;

    bool valid() const { return fix == Fix::Valid; }
    bool recorded() const { return fix != Fix::Silent; }
    bool operator==(const RouteSecond&) const = default;
};

}  // namespace makerec
