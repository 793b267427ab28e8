# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Screenshots as pixels, and what the tile's picture must look like at any scale."""

import math

from .facts import INK, PIP_DIAMETER


class Picture:
    """A screenshot: width x height pixels, 8-bit RGB, row by row."""

    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.raw[at:at + 3])

    def crop(self, x, y, width, height):
        return [[self.pixel(x + i, y + j) for i in range(width)] for j in range(height)]


def components(mask):
    """Connected groups of True cells (4-neighbour), as lists of (x, y)."""
    height, width = len(mask), len(mask[0])
    seen = [[False] * width for _ in range(height)]
    groups = []
    for y in range(height):
        for x in range(width):
            if mask[y][x] and not seen[y][x]:
                stack, group = [(x, y)], []
                seen[y][x] = True
                while stack:
                    cx, cy = stack.pop()
                    group.append((cx, cy))
                    for nx, ny in ((cx + 1, cy), (cx - 1, cy), (cx, cy + 1), (cx, cy - 1)):
                        if 0 <= nx < width and 0 <= ny < height and mask[ny][nx] \
                                and not seen[ny][nx]:
                            seen[ny][nx] = True
                            stack.append((nx, ny))
                groups.append(group)
    return groups


def check_sharp_tile(test, tile, factor, pips=12):
    """Checks a screenshot of the tile's drawing area at a scale factor: only ink and face, a
    divider at most ceil(factor) rows high, and the given number of round dots PIP_DIAMETER
    logical pixels across, drawn at the screen's resolution rather than scaled up."""
    colours = {pixel for row in tile for pixel in row}
    test.assertEqual(len(colours), 2, f"blurred tile at {factor}: {len(colours)} colours")
    test.assertIn(INK, colours)

    mask = [[pixel == INK for pixel in row] for row in tile]
    divider_rows = [y for y, row in enumerate(mask) if all(row)]
    test.assertTrue(divider_rows, f"no divider at {factor}")
    test.assertLessEqual(len(divider_rows), math.ceil(factor))
    for y in divider_rows:
        mask[y] = [False] * len(mask[y])

    dots = components(mask)
    test.assertEqual(len(dots), pips, f"dots at {factor}")
    for dot in dots:
        xs = [x for x, _ in dot]
        ys = [y for _, y in dot]
        across = max(xs) - min(xs) + 1
        down = max(ys) - min(ys) + 1
        test.assertLessEqual(abs(across - PIP_DIAMETER * factor), 1.5, f"dot width at {factor}")
        test.assertLessEqual(abs(down - PIP_DIAMETER * factor), 1.5, f"dot height at {factor}")
        # Round, not square: about the area of a disc as wide.
        disc = math.pi * (PIP_DIAMETER / 2 * factor) ** 2
        test.assertAlmostEqual(len(dot) / disc, 1, delta=0.1, msg=f"dot area at {factor}")
        # Drawn at the screen's resolution, not a small picture scaled up: a scaled-up
        # dot keeps the 5 row widths of the 1-pixel dot, a sharp one has more (9 at 2,
        # 14 at 3).
        if factor >= 2:
            widths = {sum(1 for _, y in dot if y == row) for row in set(ys)}
            test.assertGreaterEqual(len(widths), 4 * factor, f"blocky dot at {factor}")
