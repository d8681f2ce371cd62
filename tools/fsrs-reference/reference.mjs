// Runs the reference scheduler on fixed answer histories and writes what it computes after each
// answer, for the memory model's test to compare with.
//
//   node reference.mjs DATA_DIR OUT_FILE
//
// DATA_DIR is a scratch npm project holding ts-fsrs (see rebuild.sh); OUT_FILE is
// tests/core/memory/data/fsrs_reference.json. Default parameters throughout, fuzz off; only the
// desired retention changes from case to case.

import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

const [dataDir, outFile] = process.argv.slice(2);
if (!dataDir || !outFile) {
    console.error('usage: node reference.mjs DATA_DIR OUT_FILE');
    process.exit(2);
}
const require = createRequire(path.join(path.resolve(dataDir), 'package.json'));
const { fsrs, createEmptyCard, Rating } = require('ts-fsrs');
const { version } = JSON.parse(
    fs.readFileSync(path.join(path.resolve(dataDir), 'node_modules/ts-fsrs/package.json'), 'utf8'));

const MINUTE = 60 * 1000;
const HOUR = 60 * MINUTE;
const DAY = 24 * HOUR;
const START = Date.UTC(2024, 3, 1, 9, 0, 0); // 09:00 UTC, 18:00 in Japan

// The program keeps the desired retention within these bounds; the reference runs at the value
// the program will use.
const clampRetention = (r) => Math.min(Math.max(r, 0.7), 0.97);

// An answer: `gap` ms after the one before (or START), or `at: 'due'` for the moment the card
// falls due; rating 1..4.
const a = (gap, rating) => ({ gap, rating });
const due = (rating) => ({ at: 'due', rating });
const G = Rating.Good;
const H = Rating.Hard;
const A = Rating.Again;
const E = Rating.Easy;

const cases = [
    {
        name: 'same-day repeats through the learning steps',
        answers: [a(0, G), a(MINUTE, G), a(10 * MINUTE, G), a(2 * MINUTE, A), a(5 * MINUTE, G),
                  a(MINUTE, H), a(3 * MINUTE, G), a(HOUR, G)],
    },
    {
        name: 'long gaps',
        answers: [a(0, G), a(3 * DAY, G), a(20 * DAY, G), a(200 * DAY, G), a(400 * DAY, A),
                  a(DAY, G), a(90 * DAY, G)],
    },
    {
        name: 'all wrong',
        answers: [a(0, A), a(MINUTE, A), a(30 * MINUTE, A), a(2 * DAY, A), a(7 * DAY, A),
                  a(HOUR, A)],
    },
    {
        name: 'all right, each when due',
        answers: [a(0, G), due(G), due(G), due(G), due(G), due(G), due(G), due(G), due(G)],
    },
    {
        name: 'mixed',
        answers: [a(0, A), a(MINUTE, G), a(10 * MINUTE, G), a(DAY, G), a(4 * DAY, A),
                  a(10 * MINUTE, G), a(2 * DAY, H), a(6 * DAY, G), a(15 * DAY, A), a(HOUR, A),
                  a(20 * MINUTE, G), a(3 * DAY, G)],
    },
    {
        name: 'hard ratings',
        answers: [a(0, H), a(6 * MINUTE, H), a(MINUTE, G), a(HOUR, G), a(2 * DAY, H), a(5 * DAY, H),
                  a(0, H), a(30 * DAY, H)],
    },
    {
        name: 'easy ratings',
        answers: [a(0, E), a(15 * DAY, E), a(2 * MINUTE, E), a(60 * DAY, A), a(5 * MINUTE, E)],
    },
    {
        name: 'very long intervals at a low retention',
        retention: 0.7,
        answers: [a(0, G), a(10 * MINUTE, G), due(G), due(G), due(G), due(G), due(G), due(G),
                  due(G), due(H), a(0, A)],
    },
    {
        name: 'mixed at a high retention',
        retention: 0.95,
        answers: [a(0, G), a(10 * MINUTE, G), due(G), due(H), a(3 * DAY, A), a(10 * MINUTE, G),
                  due(G), due(G)],
    },
    {
        name: 'retention above the highest is kept at the highest',
        retention: 0.99,
        answers: [a(0, G), a(10 * MINUTE, G), due(G), due(G), due(G)],
    },
    {
        name: 'a day boundary two minutes apart',
        answers: [a(14 * HOUR + 58 * MINUTE, G), a(2 * MINUTE, G), a(10 * MINUTE, G),
                  a(DAY - 2 * MINUTE, A)],
    },
    // The clock set back: within the same day the reference counts no day between (it counts
    // calendar days); across days it refuses a negative time, and the program counts no time
    // instead, which is what the reference computes from a card whose last answer is moved to
    // the answer's time.
    {
        name: 'a clock set back',
        answers: [a(0, G), a(10 * MINUTE, G), a(5 * DAY, G), a(-3 * HOUR, G), a(-2 * DAY, A),
                  a(-10 * DAY, G), a(20 * DAY, G)],
    },
];

// The moments after an answer at which the probability of recall is asked: before the answer
// (a clock behind the answer's date), at it, at the due date and later.
const recallTimes = (card) => {
    const last = card.last_review.getTime();
    return [last - 2 * DAY, last, card.due.getTime(), last + DAY + HOUR, last + 30 * DAY,
            last + 1000 * DAY];
};

const run = (plan) => {
    const retention = plan.retention ?? 0.9;
    const f = fsrs({ request_retention: clampRetention(retention), enable_fuzz: false });
    let card = createEmptyCard(new Date(START));
    let time = START;
    const answers = [];
    for (const { gap, at, rating } of plan.answers) {
        time = at === 'due' ? card.due.getTime() : time + gap;
        if (card.last_review && time < card.last_review.getTime()) {
            card = { ...card, last_review: new Date(time) };
        }
        card = f.next(card, new Date(time), rating).card;
        answers.push({
            at: time,
            rating,
            difficulty: card.difficulty,
            stability: card.stability,
            state: card.state,
            step: card.learning_steps,
            due: card.due.getTime(),
            scheduledDays: card.scheduled_days,
            reps: card.reps,
            lapses: card.lapses,
            interval: f.next_interval(card.stability, 0),
            recall: recallTimes(card).map((t) => [t, f.get_retrievability(card, new Date(t), false)]),
        });
    }
    return { name: plan.name, retention, answers };
};

const results = cases.map(run);
const lines = [
    '{',
    `"generator": ${JSON.stringify(`ts-fsrs ${version}, default parameters, fuzz off`)},`,
    '"cases": [',
];
results.forEach((c, i) => {
    lines.push(`{"name": ${JSON.stringify(c.name)}, "retention": ${c.retention}, "answers": [`);
    c.answers.forEach((x, j) => lines.push(JSON.stringify(x) + (j + 1 < c.answers.length ? ',' : '')));
    lines.push(']}' + (i + 1 < results.length ? ',' : ''));
});
lines.push(']', '}', '');
fs.mkdirSync(path.dirname(outFile), { recursive: true });
fs.writeFileSync(outFile, lines.join('\n'));
console.log(`${outFile}: ${results.length} histories, ts-fsrs ${version}`);
