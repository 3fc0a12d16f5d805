#pragma once

#include <QString>

// How the map page is served and where its tiles come from; empty values take the defaults.
struct MapWebSetup {
    // The folder whose "map" folder is served as harvdvr-map://…; the running program's folder
    // when empty.
    QString programFolder;
    // The tile address with {s}, {z}, {x}, {y} fields (the settings key TileUrl); an address
    // that is not http(s) gives OpenStreetMap's.
    QString tileAddress;
    // Sent as the Referer of tile requests, for servers that ask for one.
    QString tileReferer;
    // Where the tile server's operators can reach the maker: part of the User-Agent.
    QString contact;
};
