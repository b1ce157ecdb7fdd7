"""The SVG reading of scripts/svg2drawing.py, on small drawings made up for each case."""

import contextlib
import io
import math
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'scripts'))
import svg2drawing as s2d  # noqa: E402

HEAD = '<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10" viewBox="0 0 100 100">'


def drawing(body):
    with tempfile.NamedTemporaryFile('w', suffix='.svg', delete=False) as f:
        f.write(HEAD + body + '</svg>')
    try:
        return s2d.read_drawing(f.name)
    finally:
        os.unlink(f.name)


def refusal(svg):
    """The file name and the message with which a whole drawing `svg` is refused (None if it is
    not)."""
    with tempfile.NamedTemporaryFile('w', suffix='.svg', delete=False) as f:
        f.write(svg)
    try:
        s2d.read_drawing(f.name)
        return f.name, None
    except s2d.DrawingError as error:
        return f.name, str(error)
    finally:
        os.unlink(f.name)


def cubic_at(p0, c1, c2, p1, t):
    u = 1 - t
    return tuple(u ** 3 * a + 3 * u * u * t * b + 3 * u * t * t * c + t ** 3 * d
                 for a, b, c, d in zip(p0, c1, c2, p1))


class PathData(unittest.TestCase):
    def test_commands_become_absolute_moves_lines_and_curves(self):
        cases = [
            ('absolute lines', 'M10 10L20 10L20 20Z',
             [(s2d.MOVE, [(10, 10)]), (s2d.LINE, [(20, 10)]), (s2d.LINE, [(20, 20)]),
              (s2d.CLOSE, [])]),
            ('relative, with H and V', 'm10,10h5v5l-5,0z',
             [(s2d.MOVE, [(10, 10)]), (s2d.LINE, [(15, 10)]), (s2d.LINE, [(15, 15)]),
              (s2d.LINE, [(10, 15)]), (s2d.CLOSE, [])]),
            ('pairs after a move are lines', 'M0 0 10 0 10 10',
             [(s2d.MOVE, [(0, 0)]), (s2d.LINE, [(10, 0)]), (s2d.LINE, [(10, 10)])]),
            ('numbers run together', 'M1-2.5.5e1 3',
             [(s2d.MOVE, [(1, -2.5)]), (s2d.LINE, [(5, 3)])]),
            ('after z the pen is back at the start', 'M10 10h10v10zl5 5',
             [(s2d.MOVE, [(10, 10)]), (s2d.LINE, [(20, 10)]), (s2d.LINE, [(20, 20)]),
              (s2d.CLOSE, []), (s2d.LINE, [(15, 15)])]),
            ('relative cubic', 'M10 10c0 10 10 10 10 0',
             [(s2d.MOVE, [(10, 10)]), (s2d.CUBIC, [(10, 20), (20, 20), (20, 10)])]),
        ]
        for name, data, expected in cases:
            with self.subTest(name):
                self.assertEqual(s2d.parse_path(data), expected)

    def test_a_quadratic_curve_is_the_same_curve_as_a_cubic(self):
        for data, start, control, end in [('M0 0Q50 100 100 0', (0, 0), (50, 100), (100, 0)),
                                          ('M10 20q30 -40 60 0', (10, 20), (40, -20), (70, 20))]:
            with self.subTest(data):
                (_, _), (kind, (c1, c2, p1)) = s2d.parse_path(data)
                self.assertEqual(kind, s2d.CUBIC)
                for t in (0.25, 0.5, 0.8):
                    u = 1 - t
                    quadratic = tuple(u * u * a + 2 * u * t * b + t * t * c
                                      for a, b, c in zip(start, control, end))
                    for got, want in zip(cubic_at(start, c1, c2, p1, t), quadratic):
                        self.assertAlmostEqual(got, want, places=9)

    def test_what_cannot_be_read_is_refused(self):
        for data in ['M0 0A5 5 0 0 1 10 10', 'M0 0S1 1 2 2', 'L10 10', 'M0 0L10', 'M0 0 x 1 1',
                     'M0 0h5z 5 5', '5 5']:
            with self.subTest(data), self.assertRaises(s2d.DrawingError):
                s2d.parse_path(data)


class Shapes(unittest.TestCase):
    def test_paint_is_inherited_and_overridden(self):
        shapes = drawing('<g fill="#102030" fill-rule="evenodd">'
                         '<path d="M0 0h1v1z"/><path fill="#fff" d="M0 0h1v1z"/>'
                         '<path fill="none" stroke="black" stroke-width="2" d="M0 0h1"/></g>'
                         )['shapes']
        self.assertEqual([(s['fill'], s['stroke'], s['even_odd']) for s in shapes],
                         [(0x102030, None, True), (0xffffff, None, True), (None, 0, True)])
        self.assertEqual(shapes[2]['stroke_width'], 2)

    def test_transforms_apply_outermost_last(self):
        shape = drawing('<g transform="translate(10,20) rotate(90)">'
                        '<g transform="scale(2)"><path d="M1 0" stroke="#000"/></g></g>'
                        )['shapes'][0]
        (x, y), = shape['elements'][0][1]
        self.assertAlmostEqual(x, 10)
        self.assertAlmostEqual(y, 22)
        self.assertAlmostEqual(shape['stroke_width'], 2)

    def test_round_shapes_stay_on_their_curve(self):
        cases = [('circle', '<circle cx="50" cy="40" r="20"/>', (50, 40), 20, 20),
                 ('ellipse', '<ellipse cx="50" cy="40" rx="30" ry="10"/>', (50, 40), 30, 10),
                 ('rounded corner', '<rect x="10" y="10" width="60" height="40" rx="8"/>',
                  (62, 18), 8, 8)]
        for name, body, centre, rx, ry in cases:
            with self.subTest(name):
                elements = drawing(body)['shapes'][0]['elements']
                self.assertEqual(sum(kind == s2d.CUBIC for kind, _ in elements), 4)
                checked = 0
                pen = None
                for kind, points in elements:
                    if kind == s2d.CUBIC:
                        for t in (0.0, 0.3, 0.5, 1.0):
                            x, y = cubic_at(pen, *points, t)
                            if name == 'rounded corner' and not (x >= 62 and y <= 18):
                                continue  # only the top right corner is centred there
                            r = math.hypot((x - centre[0]) / rx, (y - centre[1]) / ry)
                            self.assertAlmostEqual(r, 1, delta=0.0003)
                            checked += 1
                    if points:
                        pen = points[-1]
                self.assertGreaterEqual(checked, 4)

    def test_unknown_content_stops_the_build(self):
        for body in ['<text>3</text>', '<path d="M0 0" opacity="0.5"/>',
                     '<path d="M0 0" fill="red"/>', '<g transform="skewX(10)"/>',
                     '<path d="M0 0" fill-rule="inherit"/>']:
            with self.subTest(body), self.assertRaises(s2d.DrawingError):
                drawing(body)

    def test_view_box_origin_is_moved_to_the_corner(self):
        with tempfile.NamedTemporaryFile('w', suffix='.svg', delete=False) as f:
            f.write('<svg xmlns="http://www.w3.org/2000/svg" width="5" height="5" '
                    'viewBox="-10 -10 50 50"><path d="M-10 0h5"/></svg>')
        try:
            result = s2d.read_drawing(f.name)
        finally:
            os.unlink(f.name)
        self.assertEqual(result['view_box'], (50, 50))
        self.assertEqual(result['shapes'][0]['elements'][0], (s2d.MOVE, [(0, 10)]))


class Transforms(unittest.TestCase):
    def test_each_transform_moves_a_point_as_svg_does(self):
        cases = [
            ('translate by one number moves across only', 'translate(5)', (1, 2), (6, 2)),
            ('translate', 'translate(5 -3)', (1, 2), (6, -1)),
            ('scale by one number scales both ways', 'scale(3)', (1, 2), (3, 6)),
            ('scale', 'scale(2, 0.5)', (1, 2), (2, 1)),
            ('rotate about the origin', 'rotate(90)', (10, 0), (0, 10)),
            ('rotate about a point', 'rotate(90 10 20)', (20, 20), (10, 30)),
            ('rotate about a point keeps it', 'rotate(-37,10,20)', (10, 20), (10, 20)),
            ('matrix', 'matrix(1 2 3 4 5 6)', (1, 1), (9, 12)),
            ('a list applies its last first', 'translate(10 0) scale(2)', (1, 1), (12, 2)),
            ('a comma between transforms', 'translate(10 0),scale(2)', (1, 1), (12, 2)),
            ('nothing between transforms', 'scale(2)translate(10 0)', (1, 1), (22, 2)),
            ('spaces inside and before the bracket', ' translate ( 1 , 2 ) ', (0, 0), (1, 2)),
            ('a sign starts a new number', 'translate(1-2)', (0, 0), (1, -2)),
        ]
        for name, text, point, expected in cases:
            with self.subTest(name):
                got = s2d.apply(s2d.parse_transform(text), point)
                for g, e in zip(got, expected):
                    self.assertAlmostEqual(g, e, places=9)

    def test_what_is_not_a_whole_transform_list_is_refused(self):
        # Each refused transform, with words its message must hold.
        cases = [
            ('rotate(45 5)', 'has 2 numbers: rotate takes 1 or 3'),
            ('rotate()', 'has 0 numbers'),
            ('rotate(1 2 3 4)', 'has 4 numbers'),
            ('translate()', 'has 0 numbers: translate takes 1 or 2'),
            ('translate(1 2 3)', 'has 3 numbers'),
            ('scale()', 'has 0 numbers: scale takes 1 or 2'),
            ('scale(1,2,3)', 'has 3 numbers'),
            ('matrix(1 0 0 1 0)', 'has 5 numbers: matrix takes 6'),
            ('matrix(1 0 0 1 0 0 0)', 'has 7 numbers'),
            ('translate(1,1) bogus', "near 'bogus'"),
            ('bogus translate(1,1)', 'cannot read transform'),
            ('translate(1,1) scale(2) 3', "near '3'"),
            ('translate(1,1),', 'ends in a comma'),
            ('translate(1,1),,scale(2)', 'cannot read transform'),
            ('translate(1 1', 'cannot read transform'),
            ('translate(1,,1)', 'cannot read the numbers'),
            ('translate(,1)', 'cannot read the numbers'),
            ('translate(1px 1)', 'cannot read the numbers'),
            ('rotate(inf)', 'cannot read the numbers'),
            ('skewX(10)', 'skewX(10) is not supported'),
        ]
        for text, fault in cases:
            with self.subTest(text):
                path, message = refusal(
                    f'{HEAD}<g transform="{text}"><path d="M0 0h1v1z"/></g></svg>')
                self.assertIsNotNone(message)
                self.assertTrue(message.startswith(f'{path}: '), message)
                self.assertIn(fault, message)


class Root(unittest.TestCase):
    def test_only_size_view_box_and_harmless_attributes_are_taken(self):
        path, message = refusal('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" '
                                'baseProfile="tiny" id="picture" width="10px" height="20" '
                                'viewBox="0,0 100,200"><path d="M0 0h1v1z"/></svg>')
        self.assertIsNone(message)

    def test_what_would_change_the_picture_is_refused(self):
        size = 'width="10" height="10"'
        box = 'viewBox="0 0 100 100"'
        # Each attribute list of <svg>, with words the message must hold.
        cases = [
            ('fill', f'{size} {box} fill="red"', "unsupported attributes ['fill']"),
            ('style', f'{size} {box} style="fill:#fff"', "['style']"),
            ('aspect ratio', f'{size} {box} preserveAspectRatio="none"',
             "['preserveAspectRatio']"),
            ('transform', f'{size} {box} transform="scale(2)"', "['transform']"),
            ('position', f'x="3" {size} {box}', "['x']"),
            ('another namespace', f'xmlns:e="urn:e" e:tint="1" {size} {box}', 'tint'),
            ('no view box', size, 'no viewBox'),
            ('three numbers in the view box', f'{size} viewBox="0 0 100"', 'no viewBox'),
            ('words in the view box', f'{size} viewBox="0 0 100 100 x"', 'viewBox'),
            ('a unit other than px', f'width="10mm" height="10" {box}', "width '10mm'"),
            ('not a number', f'width="inf" height="10" {box}', "width 'inf'"),
            ('no height', f'width="10" {box}', 'lacks height'),
        ]
        for name, attributes, fault in cases:
            with self.subTest(name):
                path, message = refusal(f'<svg xmlns="http://www.w3.org/2000/svg" {attributes}>'
                                        '<path d="M0 0h1v1z"/></svg>')
                self.assertIsNotNone(message)
                self.assertTrue(message.startswith(f'{path}: '), message)
                self.assertIn(fault, message)

    def test_a_refused_drawing_fails_the_run_with_its_message(self):
        with tempfile.TemporaryDirectory() as directory:
            good = os.path.join(directory, 'good.svg')
            bad = os.path.join(directory, 'bad.svg')
            output = os.path.join(directory, 'drawings.cpp')
            with open(good, 'w') as f:
                f.write(HEAD + '<path d="M0 0h1v1z"/></svg>')
            with open(bad, 'w') as f:
                f.write(HEAD + '<path transform="rotate(45 5)" d="M0 0h1v1z"/></svg>')
            errors = io.StringIO()
            with contextlib.redirect_stderr(errors):
                status = s2d.main(['svg2drawing.py', output, f'a={good}', f'b={bad}'])
            self.assertEqual(status, 1)
            self.assertEqual(errors.getvalue(),
                             f'{bad}: transform rotate(45 5) has 2 numbers: rotate takes 1 or 3\n')
            self.assertFalse(os.path.exists(output))


if __name__ == '__main__':
    unittest.main()
