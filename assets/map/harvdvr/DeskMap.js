// The map page of Harventis DVR Tools.
//
// The viewer calls, each with one text:
//   getContentHis(batch)  one route in batches: "003" + "lon!lat|" points (at most ten a
//                         call), then batches of points only, then "Over", which draws it.
//   clearHistroy("003")   takes that route off the map.
//   MoveCar("lon|lat|index|heading")  puts the car there, turned to the heading.
// and every 200 ms it reads and empties varLocal, where a click on a route leaves "(lat, lon)".
//
// The viewer finds the clicked point in its own copy of the routes: the first pair of points
// i, i + 1 (i from 1 to n - 2, counted from 1, of the routes in the order they were loaded)
// whose rectangle holds the point, left and top edges inside, right and bottom edges outside,
// in fixed point (degrees x 10^7, rounded half to even). So this page keeps every point it was
// sent, no-fix points (0, 0) too, numbered as the viewer numbers them, and writes a point the
// viewer is sure to find in the pair that was clicked.

var varLocal = '';

var harvdvrPage = (function () {
    'use strict';

    var NAVY = 'rgb(26, 27, 54)';
    var GRID = 'rgb(38, 37, 95)';
    var GRID_BRIGHT = 'rgb(52, 51, 122)';
    // Bright enough for the dark background, with a dark edge for light map tiles.
    var PALETTE = ['#ffd400', '#00e5ff', '#ff4f9a', '#7dff5a', '#ff8a1f', '#c38bff', '#4da3ff',
        '#f4ff52'];
    var CASING = 'rgba(8, 9, 24, 0.7)';
    // How far from a route a click still counts as on it, in screen pixels.
    var CLICK_PIXELS = 12;
    var FIXED_SCALE = 10000000;
    var FIT_PADDING = 24;

    var DEFAULT_TILES = 'https://{s}.tile.openstreetmap.org/{z}/{x}/{y}.png';

    // ---- numbers as the viewer keeps them --------------------------------------------------

    // Rounds to the nearest whole number, halves to the even neighbour.
    function halfEven(value) {
        var floor = Math.floor(value);
        var rest = value - floor;
        if (rest > 0.5) {
            return floor + 1;
        }
        if (rest < 0.5) {
            return floor;
        }
        return floor % 2 === 0 ? floor : floor + 1;
    }

    // A coordinate text as the viewer turns it into its fixed point: the number times 10^7.
    function fixedPoint(text) {
        return halfEven(Number(text) * FIXED_SCALE);
    }

    // A fixed-point value as degrees with all seven decimals, made from the whole number so
    // the viewer gets exactly that value back.
    function fixedText(value) {
        var sign = value < 0 ? '-' : '';
        var magnitude = Math.abs(value);
        var fraction = String(magnitude % FIXED_SCALE);
        while (fraction.length < 7) {
            fraction = '0' + fraction;
        }
        return sign + Math.floor(magnitude / FIXED_SCALE) + '.' + fraction;
    }

    function makePoint(lonText, latText) {
        var x = fixedPoint(lonText);
        var y = fixedPoint(latText);
        return { lon: Number(lonText), lat: Number(latText), x: x, y: y, noFix: x === 0 && y === 0 };
    }

    // ---- the map ---------------------------------------------------------------------------

    var map = L.map('map', {
        center: [20, 0],
        zoom: 2,
        minZoom: 1,
        maxZoom: 19,
        // No animations: the view is parked, hidden and resized by the viewer, and a frame that
        // never comes would leave the map half moved.
        zoomAnimation: false,
        fadeAnimation: false,
        markerZoomAnimation: false,
        worldCopyJump: false
    });
    // Plain text only: a link would take the map out of the viewer's panel.
    map.attributionControl.setPrefix('Leaflet');

    // The plain background the routes are drawn on while no tile comes: the theme's navy with
    // its grid lines, moving with the map.
    var Graticule = L.GridLayer.extend({
        createTile: function (coords) {
            var size = this.getTileSize();
            var tile = document.createElement('canvas');
            tile.width = size.x;
            tile.height = size.y;
            var g = tile.getContext('2d');
            g.fillStyle = NAVY;
            g.fillRect(0, 0, size.x, size.y);
            var step = size.x / 4;
            for (var i = 0; i < 4; i++) {
                g.strokeStyle = i === 0 ? GRID_BRIGHT : GRID;
                g.lineWidth = 1;
                g.beginPath();
                g.moveTo(i * step + 0.5, 0);
                g.lineTo(i * step + 0.5, size.y);
                g.moveTo(0, i * step + 0.5);
                g.lineTo(size.x, i * step + 0.5);
                g.stroke();
            }
            return tile;
        }
    });
    new Graticule({ zIndex: 0, maxZoom: 22 }).addTo(map);

    // ---- tiles -------------------------------------------------------------------------------

    var tiles = null;
    var tileState = { address: '', loaded: 0, errors: 0, settled: false };

    // The map shows its attribution as markup; the host comes from a setting, so it goes in
    // as text.
    function attributionFor(address) {
        var host = (/^[a-z]+:\/\/([^/]+)/i.exec(address) || ['', ''])[1].replace('{s}.', '');
        if (/(^|\.)openstreetmap\.org$/i.test(host)) {
            return '\u00a9 OpenStreetMap contributors';
        }
        var text = document.createElement('span');
        text.textContent = 'Map tiles: ' + host;
        return text.innerHTML;
    }

    function setTileAddress(address) {
        if (tiles) {
            map.removeLayer(tiles);
        }
        tileState = { address: address, loaded: 0, errors: 0, settled: false };
        tiles = L.tileLayer(address, {
            subdomains: 'abc',
            maxZoom: 19,
            zIndex: 1,
            attribution: attributionFor(address)
        });
        // Every tile in view has come or failed, until the view moves on.
        tiles.on('loading', function () {
            tileState.settled = false;
        });
        tiles.on('load', function () {
            tileState.settled = true;
        });
        tiles.on('tileload', function () {
            tileState.loaded += 1;
        });
        // A tile that does not come (no network, a server error) leaves the plain background.
        tiles.on('tileerror', function (event) {
            tileState.errors += 1;
            event.tile.style.visibility = 'hidden';
        });
        tiles.addTo(map);
    }

    var settings = window.harvdvrSettings || {};
    setTileAddress(typeof settings.tileAddress === 'string' && settings.tileAddress !== ''
        ? settings.tileAddress : DEFAULT_TILES);

    // ---- routes ------------------------------------------------------------------------------

    // Serial text -> route, in the order the viewer loaded them; a route sent again keeps its
    // place, as it does in the viewer.
    var routes = new Map();
    // The route being received: its serial once known, its points.
    var pending = null;

    var PLAIN_LONGITUDE = /^-?\d{1,3}(\.\d+)?$/;
    var NUMBER = /^-?\d+(\.\d+)?$/;

    // The first longitude of a route comes straight after the serial: "003121.533958",
    // "1234121.533958", "007-58.381592". A serial below 1000 has exactly three digits; a longer
    // one never starts with 0. A longitude has one to three digits before its point (no
    // leading zero but in "0.x") and lies within 180 degrees. Every split that keeps to this
    // is a candidate; when more than one does, the one whose longitude lies nearest the route's
    // next point wins (points are a second apart), and with no next point the shortest serial.
    function serialSplits(head) {
        var minus = head.indexOf('-');
        if (minus >= 0) {
            var serial = head.slice(0, minus);
            return /^\d{3,}$/.test(serial) && (serial.length === 3 || serial[0] !== '0') &&
                NUMBER.test(head.slice(minus)) ? [{ serial: serial, lon: head.slice(minus) }] : [];
        }
        var match = /^(\d+)(\.\d+)?$/.exec(head);
        if (!match) {
            return [];
        }
        var digits = match[1];
        var fraction = match[2] || '';
        var splits = [];
        for (var length = 3; length < digits.length; length++) {
            var serialText = digits.slice(0, length);
            var whole = digits.slice(length);
            if (whole.length > 3 || (whole.length > 1 && whole[0] === '0') ||
                (length > 3 && serialText[0] === '0') || Number(whole + fraction) > 180) {
                continue;
            }
            splits.push({ serial: serialText, lon: whole + fraction });
        }
        return splits;
    }

    // Parses "lon!lat|…" into points; the first longitude may carry the serial. Nothing when
    // any part is not of that form: a batch is taken whole or not at all.
    function parseBatch(text) {
        if (/^\d{3,}$/.test(text)) {
            return { splits: [{ serial: text, lon: null }], lat: null, points: [] };
        }
        if (text === '' || text[text.length - 1] !== '|') {
            return null;
        }
        var items = text.slice(0, -1).split('|');
        var batch = { splits: null, lat: null, points: [] };
        for (var i = 0; i < items.length; i++) {
            var pair = items[i].split('!');
            if (pair.length !== 2 || !NUMBER.test(pair[1])) {
                return null;
            }
            if (i === 0 && !PLAIN_LONGITUDE.test(pair[0])) {
                batch.splits = serialSplits(pair[0]);
                batch.lat = pair[1];
                if (batch.splits.length === 0) {
                    return null;
                }
                continue;
            }
            if (!NUMBER.test(pair[0])) {
                return null;
            }
            batch.points.push(makePoint(pair[0], pair[1]));
        }
        return batch;
    }

    // Settles the serial of the route being received once its next point is known (or the
    // route ends without one).
    function settleSerial(nextPoint) {
        if (!pending || pending.serial !== null) {
            return;
        }
        var best = pending.splits[0];
        if (nextPoint) {
            pending.splits.forEach(function (split) {
                if (Math.abs(Number(split.lon) - nextPoint.lon) <
                    Math.abs(Number(best.lon) - nextPoint.lon)) {
                    best = split;
                }
            });
        }
        pending.serial = best.serial;
        if (best.lon !== null) {
            pending.points.unshift(makePoint(best.lon, pending.lat));
        }
    }

    function getContentHis(text) {
        text = String(text);
        if (text === 'Over') {
            finishRoute();
            return;
        }
        var batch = parseBatch(text);
        if (!batch) {
            return;
        }
        if (batch.splits) {
            // A new route; one whose end never came is drawn as it stands.
            finishRoute();
            pending = { serial: null, splits: batch.splits, lat: batch.lat, points: [] };
            if (batch.splits.length === 1) {
                settleSerial(null);
            }
        } else if (!pending) {
            // Points of a route whose start this page never saw (it was loading then).
            return;
        }
        if (batch.points.length > 0) {
            settleSerial(batch.points[0]);
        }
        Array.prototype.push.apply(pending.points, batch.points);
    }

    function nextColour() {
        var used = new Map();
        routes.forEach(function (route) {
            used.set(route.colour, (used.get(route.colour) || 0) + 1);
        });
        var best = PALETTE[0];
        PALETTE.forEach(function (colour) {
            if ((used.get(colour) || 0) < (used.get(best) || 0)) {
                best = colour;
            }
        });
        return best;
    }

    // The runs of points with a fix; no-fix points leave a gap rather than a line to (0, 0).
    function drawnRuns(points) {
        var runs = [];
        var run = [];
        points.forEach(function (point) {
            if (point.noFix) {
                run = [];
                return;
            }
            if (run.length === 0) {
                runs.push(run);
            }
            run.push([point.lat, point.lon]);
        });
        return runs.filter(function (r) {
            return r.length > 1;
        });
    }

    function drawRoute(route) {
        var runs = drawnRuns(route.points);
        route.drawn = runs.reduce(function (sum, r) {
            return sum + r.length;
        }, 0);
        route.layers = [];
        if (runs.length === 0) {
            return;
        }
        // Clicks are found by the page itself, with a margin, so the lines take none. Points
        // are drawn on whole pixels; smoothing a little more than the default keeps a straight
        // stretch from ending in a hook of rounding.
        var style = { interactive: false, lineJoin: 'round', lineCap: 'round', smoothFactor: 1.5 };
        route.layers.push(L.polyline(runs, L.extend({ color: CASING, weight: 8 }, style)).addTo(map));
        route.layers.push(L.polyline(runs, L.extend({ color: route.colour, weight: 4 }, style))
            .addTo(map));
    }

    function removeRoute(route) {
        route.layers.forEach(function (layer) {
            map.removeLayer(layer);
        });
    }

    function finishRoute() {
        if (!pending) {
            return;
        }
        settleSerial(null);
        var route = pending;
        pending = null;
        var old = routes.get(route.serial);
        if (old) {
            removeRoute(old);
        }
        route.colour = old ? old.colour : nextColour();
        routes.set(route.serial, route);
        drawRoute(route);
        fitRoutes();
    }

    function clearHistroy(serial) {
        var route = routes.get(String(serial));
        if (!route) {
            return;
        }
        removeRoute(route);
        routes.delete(String(serial));
        fitRoutes();
    }

    // ---- the view ----------------------------------------------------------------------------

    // A map of no size (the viewer parks the page while it loads) cannot be fitted; it is
    // fitted when it gets one.
    var fitWaiting = false;

    function hasRoom() {
        var size = map.getSize();
        return size.x > 2 * FIT_PADDING && size.y > 2 * FIT_PADDING;
    }

    function fitRoutes() {
        var bounds = L.latLngBounds([]);
        routes.forEach(function (route) {
            route.layers.forEach(function (layer) {
                bounds.extend(layer.getBounds());
            });
        });
        if (!bounds.isValid()) {
            fitWaiting = false;
            return;
        }
        if (!hasRoom()) {
            fitWaiting = true;
            return;
        }
        fitWaiting = false;
        map.fitBounds(bounds, { padding: [FIT_PADDING, FIT_PADDING], maxZoom: 17, animate: false });
    }

    map.on('resize', function () {
        if (fitWaiting) {
            fitRoutes();
        }
        keepCarInView();
    });

    // ---- the car -----------------------------------------------------------------------------

    var CAR_SVG = '<svg xmlns="http://www.w3.org/2000/svg" width="30" height="30" ' +
        'viewBox="0 0 30 30"><path d="M15 1.5 L24.5 27.5 L15 21 L5.5 27.5 Z" fill="#ff3b4f" ' +
        'stroke="#ffffff" stroke-width="2" stroke-linejoin="round"/></svg>';
    var car = { marker: null, lon: 0, lat: 0, index: 0, heading: 0 };

    function keepCarInView() {
        if (car.marker && hasRoom()) {
            map.panInside(car.marker.getLatLng(), { padding: [40, 40], animate: false });
        }
    }

    function MoveCar(text) {
        var fields = String(text).split('|');
        if (fields.length !== 4 || !NUMBER.test(fields[0]) || !NUMBER.test(fields[1]) ||
            !/^\d+$/.test(fields[2]) || !NUMBER.test(fields[3])) {
            return;
        }
        var point = makePoint(fields[0], fields[1]);
        car.lon = point.lon;
        car.lat = point.lat;
        car.index = Number(fields[2]);
        car.heading = Number(fields[3]);
        // A second without a fix has no place on the map.
        if (point.noFix) {
            if (car.marker) {
                map.removeLayer(car.marker);
                car.marker = null;
            }
            return;
        }
        if (!car.marker) {
            car.marker = L.marker([point.lat, point.lon], {
                icon: L.divIcon({ className: 'harvdvr-car', html: '<div class="harvdvr-car-arrow">' +
                    CAR_SVG + '</div>', iconSize: [30, 30], iconAnchor: [15, 15] }),
                interactive: false,
                keyboard: false,
                zIndexOffset: 1000
            }).addTo(map);
        } else {
            car.marker.setLatLng([point.lat, point.lon]);
        }
        car.marker.getElement().firstChild.style.transform = 'rotate(' + car.heading + 'deg)';
        keepCarInView();
    }

    // ---- clicks ------------------------------------------------------------------------------

    // The viewer's own search: the route and pair (counted from 1) it will find a fixed-point
    // position in.
    function viewerFinds(x, y) {
        var found = null;
        routes.forEach(function (route) {
            if (found) {
                return;
            }
            var points = route.points;
            if (points.length === 1 && points[0].x === x && points[0].y === y) {
                found = { route: route, pair: 1 };
                return;
            }
            for (var i = 0; i + 2 < points.length; i++) {
                var a = points[i];
                var b = points[i + 1];
                if (Math.min(a.x, b.x) <= x && x < Math.max(a.x, b.x) &&
                    Math.min(a.y, b.y) <= y && y < Math.max(a.y, b.y)) {
                    found = { route: route, pair: i + 1 };
                    return;
                }
            }
        });
        return found;
    }

    // Within [low, high): one step in from either edge when the pair leaves room for it.
    function inside(value, low, high) {
        return high - low >= 2 ? Math.min(Math.max(value, low + 1), high - 1) : low;
    }

    // The fixed-point position a fraction t along the pair a, b, moved into its rectangle.
    function alongPair(a, b, t) {
        return {
            x: inside(Math.round(a.x + (b.x - a.x) * t), Math.min(a.x, b.x), Math.max(a.x, b.x)),
            y: inside(Math.round(a.y + (b.y - a.y) * t), Math.min(a.y, b.y), Math.max(a.y, b.y))
        };
    }

    // The nearest pair the viewer can find (both points with a fix, not the last pair, and
    // not level or upright: such a rectangle is empty), within CLICK_PIXELS of the click.
    function nearestPair(clicked) {
        var best = null;
        routes.forEach(function (route) {
            var points = route.points;
            for (var i = 0; i + 2 < points.length; i++) {
                var a = points[i];
                var b = points[i + 1];
                if (a.noFix || b.noFix || a.x === b.x || a.y === b.y) {
                    continue;
                }
                var pa = map.latLngToContainerPoint([a.lat, a.lon]);
                var pb = map.latLngToContainerPoint([b.lat, b.lon]);
                var dx = pb.x - pa.x;
                var dy = pb.y - pa.y;
                var length2 = dx * dx + dy * dy;
                var t = length2 > 0 ? ((clicked.x - pa.x) * dx + (clicked.y - pa.y) * dy) / length2 : 0;
                t = Math.min(Math.max(t, 0), 1);
                var distance = clicked.distanceTo(L.point(pa.x + t * dx, pa.y + t * dy));
                if (distance <= CLICK_PIXELS && (!best || distance < best.distance)) {
                    best = { route: route, pair: i + 1, t: t, distance: distance };
                }
            }
        });
        return best;
    }

    // A position in the clicked pair that the viewer finds in that very pair: the point under
    // the click if it will, else the nearest place along the pair that is not also in an
    // earlier pair's rectangle; failing that, the point under the click after all.
    function clickPosition(hit) {
        var a = hit.route.points[hit.pair - 1];
        var b = hit.route.points[hit.pair];
        var tries = [hit.t];
        for (var step = 1; step < 64; step++) {
            tries.push(step / 64);
        }
        tries.sort(function (p, q) {
            return Math.abs(p - hit.t) - Math.abs(q - hit.t);
        });
        for (var i = 0; i < tries.length; i++) {
            var position = alongPair(a, b, tries[i]);
            var found = viewerFinds(position.x, position.y);
            if (found && found.route === hit.route && found.pair === hit.pair) {
                return position;
            }
        }
        return alongPair(a, b, hit.t);
    }

    map.on('click', function (event) {
        var hit = nearestPair(event.containerPoint);
        if (!hit) {
            return;
        }
        var position = clickPosition(hit);
        varLocal = '(' + fixedText(position.y) + ', ' + fixedText(position.x) + ')';
    });

    // ---- what the viewer calls, and what its tests read --------------------------------------

    return {
        getContentHis: getContentHis,
        clearHistroy: clearHistroy,
        MoveCar: MoveCar,
        map: map,
        setTileAddress: setTileAddress,
        routeCount: function () {
            return routes.size;
        },
        serials: function () {
            return Array.from(routes.keys()).join(',');
        },
        // Every point the route was sent with, no-fix points too.
        pointCount: function (serial) {
            var route = routes.get(String(serial));
            return route ? route.points.length : 0;
        },
        // The points drawn on the map.
        drawnPointCount: function (serial) {
            var route = routes.get(String(serial));
            return route ? route.drawn : 0;
        },
        routeColour: function (serial) {
            var route = routes.get(String(serial));
            return route ? route.colour : '';
        },
        // "lon|lat|index|heading|shown|in view"
        car: function () {
            var shown = car.marker !== null;
            var inView = shown && map.getBounds().contains(car.marker.getLatLng());
            return [car.lon, car.lat, car.index, car.heading, shown, inView].join('|');
        },
        tileAddress: function () {
            return tileState.address;
        },
        tilesSettled: function () {
            return tileState.settled;
        },
        tilesLoaded: function () {
            return tileState.loaded;
        },
        tileErrors: function () {
            return tileState.errors;
        },
        // No tile has come and at least one has failed: the routes lie on the plain background.
        offline: function () {
            return tileState.loaded === 0 && tileState.errors > 0;
        },
        // Where a position lies in the page, "x,y" in pixels, for clicking on it.
        screenPoint: function (lat, lon) {
            var point = map.latLngToContainerPoint([lat, lon]);
            return point.x + ',' + point.y;
        }
    };
})();

// The viewer calls these by name in the page's window.
function getContentHis(text) {
    harvdvrPage.getContentHis(text);
}

function clearHistroy(serial) {
    harvdvrPage.clearHistroy(serial);
}

function MoveCar(position) {
    harvdvrPage.MoveCar(position);
}
