#!/usr/bin/env python3
"""Writes the zip benchmark's test tree, the same bytes on every run (seeded generator).

About 150 MB at scale 1: prose-like text, source-like code and incompressible media, a few
hundred files in nested folders; --large-mb adds one large file of half text, half media.
usage: make_tree.py FOLDER [--scale S] [--large-mb N]
"""
import argparse
import os
import random

MB = 1024 * 1024


def line_pool(rng, count, make):
    return [make(rng) for _ in range(count)]


def prose_line(rng):
    words = [''.join(rng.choices('etaoinshrdlucmfwypvbgkqjxz', k=rng.randint(2, 9)))
             for _ in range(rng.randint(6, 16))]
    return ' '.join(words).capitalize() + '.\n'


def code_line(rng):
    ident = lambda: rng.choice(['count', 'index', 'buffer', 'size', 'node', 'value', 'result',
                                'offset', 'length', 'name']) + str(rng.randint(0, 99))
    forms = ['    int {a} = {b} + {c};\n', '    if ({a} < {b}) return {c};\n',
             '    for (int i = 0; i < {a}; ++i) {b}[i] = {c};\n', '    // {a} holds {b}\n',
             'static void {a}(struct {b} *{c});\n', '    {a}->{b} = {c}({a});\n', '}}\n', '\n']
    return rng.choice(forms).format(a=ident(), b=ident(), c=ident())


def text_bytes(rng, pool, size):
    out, total = [], 0
    while total < size:
        chunk = ''.join(rng.choices(pool, k=256))
        out.append(chunk)
        total += len(chunk)
    return ''.join(out).encode()[:size]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('folder')
    ap.add_argument('--scale', type=float, default=1.0)
    ap.add_argument('--large-mb', type=int, default=0)
    args = ap.parse_args()
    rng = random.Random(20240611)
    prose = line_pool(rng, 20000, prose_line)
    code = line_pool(rng, 20000, code_line)
    budget = {'text': 60 * MB * args.scale, 'src': 30 * MB * args.scale,
              'media': 60 * MB * args.scale}
    sizes = {'text': (2000, 2 * MB), 'src': (1000, 200000), 'media': (100000, 8 * MB)}
    ext = {'text': ['.txt', '.md', '.csv'], 'src': ['.c', '.h', '.cpp'],
           'media': ['.jpg', '.mp3', '.png']}
    n = 0
    for kind in ('text', 'src', 'media'):
        left = budget[kind]
        while left > 0:
            size = int(min(left, rng.randint(*sizes[kind])))
            depth = rng.randint(0, 3)
            parts = [f'{kind}{rng.randint(0, 5)}'] + [f'd{rng.randint(0, 3)}' for _ in range(depth)]
            path = os.path.join(args.folder, *parts, f'f{n:04d}{rng.choice(ext[kind])}')
            if kind == 'media':
                data = rng.randbytes(size)
            else:
                data = text_bytes(rng, prose if kind == 'text' else code, size)
            write(path, data)
            left -= size
            n += 1
    if args.large_mb:
        with open(os.path.join(args.folder, 'large.bin'), 'wb') as f:
            for i in range(args.large_mb):
                f.write(rng.randbytes(MB) if i % 2 else text_bytes(rng, prose, MB))
    print(n + (1 if args.large_mb else 0))


if __name__ == '__main__':
    main()
