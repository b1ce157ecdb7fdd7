#!/usr/bin/env python3
"""Turns the program's SVG drawings into C++ data that ui/drawing.h paints with QPainter.

    scripts/svg2drawing.py OUTPUT.cpp NAME=FILE.svg [NAME=FILE.svg ...]

The drawings are made of filled shapes, a few of them outlined: <path>, <rect>, <circle> and
<ellipse>, grouped in <g>, with fill, fill-rule, stroke, stroke-width and transform, given as
attributes, inside an <svg> that gives width, height and viewBox; transforms are matrix,
translate, scale and rotate, paths use the commands M, L, H, V, C, Q and Z (and their relative
forms). That is all this reads: anything else in a drawing stops the build with a message naming
the file, rather than being drawn wrongly. Every shape becomes a path of moves, lines and cubic
curves in the coordinates of the drawing's view box: quadratic curves exactly, rectangles with
round corners, circles and ellipses as the usual four-curve approximation of a quarter ellipse
(within 0.03 % of the radius).

Standard library only: it runs wherever the program is built, for Linux or for Windows.
"""

import math
import re
import sys
import xml.etree.ElementTree as ET

SVG = '{http://www.w3.org/2000/svg}'
MOVE, LINE, CUBIC, CLOSE = 0, 1, 2, 3
# Control point distance of a quarter circle drawn as one cubic curve.
KAPPA = 4 * (math.sqrt(2) - 1) / 3

NAMED_COLOURS = {'black': 0x000000, 'white': 0xffffff}


class DrawingError(Exception):
    pass


# --- transforms: (a, b, c, d, e, f) maps (x, y) to (a x + c y + e, b x + d y + f) ---

IDENTITY = (1.0, 0.0, 0.0, 1.0, 0.0, 0.0)


def multiply(m, n):
    """The transform that applies n first, then m."""
    a, b, c, d, e, f = m
    a2, b2, c2, d2, e2, f2 = n
    return (a * a2 + c * b2, b * a2 + d * b2, a * c2 + c * d2, b * c2 + d * d2,
            a * e2 + c * f2 + e, b * e2 + d * f2 + f)


NUMBER = r'[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?'
# One transform of a list and what may follow it: a comma, or nothing, between two of them.
TRANSFORM = re.compile(r'\s*([A-Za-z]+)\s*\(([^()]*)\)\s*(,?)')
# How many numbers each transform takes.
TRANSFORM_NUMBERS = {'matrix': (6,), 'translate': (1, 2), 'scale': (1, 2), 'rotate': (1, 3)}


def svg_number(text, what):
    """A plain SVG number: no units, no words such as inf or nan."""
    if not re.fullmatch(NUMBER, text.strip()):
        raise DrawingError(f'{what} {text!r} is not a number')
    return float(text)


def number_list(text, what):
    """Numbers separated by spaces, or by one comma with spaces around it if any; like path data,
    a sign or a second decimal point also starts a new number."""
    values = []
    position = 0
    for match in re.finditer(NUMBER, text):
        gap = text[position:match.start()]
        if not re.fullmatch(r'\s*' if not values else r'\s*,?\s*', gap):
            raise DrawingError(f'cannot read the numbers of {what}')
        values.append(float(match.group()))
        position = match.end()
    if text[position:].strip():
        raise DrawingError(f'cannot read the numbers of {what}')
    return values


def parse_transform(text):
    """The transform of a transform list, which must be read to its end."""
    result = IDENTITY
    position = 0
    while text[position:].strip():
        match = TRANSFORM.match(text, position)
        if not match:
            raise DrawingError(f'cannot read transform {text!r} near {text[position:]!r}')
        name, args, comma = match.groups()
        position = match.end()
        if comma and not text[position:].strip():
            raise DrawingError(f'transform {text!r} ends in a comma')
        step_text = f'{name}({args})'
        if name not in TRANSFORM_NUMBERS:
            raise DrawingError(f'transform {step_text} is not supported')
        values = number_list(args, f'transform {step_text}')
        if len(values) not in TRANSFORM_NUMBERS[name]:
            counts = ' or '.join(str(n) for n in TRANSFORM_NUMBERS[name])
            raise DrawingError(f'transform {step_text} has {len(values)} numbers: {name} takes '
                               f'{counts}')
        if name == 'translate':
            tx, ty = (values + [0.0])[:2]
            step = (1.0, 0.0, 0.0, 1.0, tx, ty)
        elif name == 'scale':
            sx = values[0]
            sy = values[1] if len(values) > 1 else sx
            step = (sx, 0.0, 0.0, sy, 0.0, 0.0)
        elif name == 'rotate':
            angle = math.radians(values[0])
            cos, sin = math.cos(angle), math.sin(angle)
            step = (cos, sin, -sin, cos, 0.0, 0.0)
            if len(values) == 3:
                # About the point (cx, cy): moved to the origin, turned, and moved back.
                cx, cy = values[1], values[2]
                step = multiply((1.0, 0.0, 0.0, 1.0, cx, cy),
                                multiply(step, (1.0, 0.0, 0.0, 1.0, -cx, -cy)))
        else:
            step = tuple(values)
        result = multiply(result, step)
    return result


def apply(m, point):
    a, b, c, d, e, f = m
    x, y = point
    return (a * x + c * y + e, b * x + d * y + f)


# --- path data ---

TOKEN = re.compile(f'([A-Za-z])|({NUMBER})')


def tokens(data):
    position = 0
    for match in TOKEN.finditer(data):
        gap = data[position:match.start()]
        if gap.strip(' \t\r\n,'):
            raise DrawingError(f'cannot read path data near {gap!r}')
        position = match.end()
        yield match.group(1) or float(match.group(2))
    if data[position:].strip(' \t\r\n,'):
        raise DrawingError(f'cannot read path data near {data[position:]!r}')


def parse_path(data):
    """The path's elements: (MOVE, [p]), (LINE, [p]), (CUBIC, [c1, c2, p]) or (CLOSE, [])."""
    elements = []
    stream = list(tokens(data))
    i = 0
    command = None
    current = start = (0.0, 0.0)

    def numbers(count):
        nonlocal i
        values = stream[i:i + count]
        if len(values) < count or any(isinstance(v, str) for v in values):
            raise DrawingError(f'command {command} lacks numbers in {data[:60]!r}')
        i += count
        return values

    while i < len(stream):
        if isinstance(stream[i], str):
            command = stream[i]
            i += 1
        elif command is None:
            raise DrawingError(f'numbers without a command in {data[:60]!r}')
        if not elements and command not in 'Mm':
            raise DrawingError('path data does not start with a move')
        relative = command.islower()
        base = current if relative else (0.0, 0.0)
        kind = command.upper()
        if kind == 'Z':
            elements.append((CLOSE, []))
            current = start
            command = None  # takes no numbers: a new command must follow
        elif kind == 'M':
            x, y = numbers(2)
            current = start = (base[0] + x, base[1] + y)
            elements.append((MOVE, [current]))
            command = 'l' if relative else 'L'  # further pairs are lines
        elif kind in 'LHV':
            if kind == 'L':
                x, y = numbers(2)
                target = (base[0] + x, base[1] + y)
            elif kind == 'H':
                (x,) = numbers(1)
                target = (base[0] + x, current[1])
            else:
                (y,) = numbers(1)
                target = (current[0], base[1] + y)
            elements.append((LINE, [target]))
            current = target
        elif kind == 'C':
            x1, y1, x2, y2, x, y = numbers(6)
            target = (base[0] + x, base[1] + y)
            elements.append((CUBIC, [(base[0] + x1, base[1] + y1), (base[0] + x2, base[1] + y2),
                                     target]))
            current = target
        elif kind == 'Q':
            qx, qy, x, y = numbers(4)
            q = (base[0] + qx, base[1] + qy)
            target = (base[0] + x, base[1] + y)
            # A quadratic curve is exactly the cubic whose control points lie two thirds of the
            # way from each end to the quadratic's control point.
            c1 = (current[0] + 2 / 3 * (q[0] - current[0]), current[1] + 2 / 3 * (q[1] - current[1]))
            c2 = (target[0] + 2 / 3 * (q[0] - target[0]), target[1] + 2 / 3 * (q[1] - target[1]))
            elements.append((CUBIC, [c1, c2, target]))
            current = target
        else:
            raise DrawingError(f'path command {command} is not supported')
    return elements


def ellipse_path(cx, cy, rx, ry):
    kx, ky = KAPPA * rx, KAPPA * ry
    return [(MOVE, [(cx + rx, cy)]),
            (CUBIC, [(cx + rx, cy + ky), (cx + kx, cy + ry), (cx, cy + ry)]),
            (CUBIC, [(cx - kx, cy + ry), (cx - rx, cy + ky), (cx - rx, cy)]),
            (CUBIC, [(cx - rx, cy - ky), (cx - kx, cy - ry), (cx, cy - ry)]),
            (CUBIC, [(cx + kx, cy - ry), (cx + rx, cy - ky), (cx + rx, cy)]),
            (CLOSE, [])]


def rect_path(x, y, width, height, rx, ry):
    if rx <= 0 or ry <= 0:
        return [(MOVE, [(x, y)]), (LINE, [(x + width, y)]), (LINE, [(x + width, y + height)]),
                (LINE, [(x, y + height)]), (CLOSE, [])]
    rx, ry = min(rx, width / 2), min(ry, height / 2)
    kx, ky = KAPPA * rx, KAPPA * ry
    right, bottom = x + width, y + height
    return [(MOVE, [(x + rx, y)]),
            (LINE, [(right - rx, y)]),
            (CUBIC, [(right - rx + kx, y), (right, y + ry - ky), (right, y + ry)]),
            (LINE, [(right, bottom - ry)]),
            (CUBIC, [(right, bottom - ry + ky), (right - rx + kx, bottom), (right - rx, bottom)]),
            (LINE, [(x + rx, bottom)]),
            (CUBIC, [(x + rx - kx, bottom), (x, bottom - ry + ky), (x, bottom - ry)]),
            (LINE, [(x, y + ry)]),
            (CUBIC, [(x, y + ry - ky), (x + rx - kx, y), (x + rx, y)]),
            (CLOSE, [])]


def colour(text):
    text = text.strip()
    if text == 'none':
        return None
    if text in NAMED_COLOURS:
        return NAMED_COLOURS[text]
    if re.fullmatch(r'#[0-9a-fA-F]{6}', text):
        return int(text[1:], 16)
    if re.fullmatch(r'#[0-9a-fA-F]{3}', text):
        return int(''.join(c * 2 for c in text[1:]), 16)
    raise DrawingError(f'colour {text!r} is not supported')


def number(element, name, default=None):
    value = element.get(name)
    if value is None:
        if default is None:
            raise DrawingError(f'<{element.tag[len(SVG):]}> lacks {name}')
        return default
    return svg_number(value.removesuffix('px'), f'<{element.tag[len(SVG):]}> {name}')


PAINT = {'fill', 'fill-rule', 'stroke', 'stroke-width'}
IGNORED = {'id'}


def shapes(element, transform, paint, out):
    tag = element.tag[len(SVG):] if element.tag.startswith(SVG) else element.tag
    known = PAINT | IGNORED | {'transform'} | {
        'g': set(), 'path': {'d'}, 'rect': {'x', 'y', 'width', 'height', 'rx', 'ry'},
        'circle': {'cx', 'cy', 'r'}, 'ellipse': {'cx', 'cy', 'rx', 'ry'},
    }.get(tag, set())
    if tag not in ('g', 'path', 'rect', 'circle', 'ellipse'):
        raise DrawingError(f'<{tag}> is not supported')
    unknown = set(element.keys()) - known
    if unknown:
        raise DrawingError(f'<{tag}> has unsupported attributes {sorted(unknown)}')
    paint = dict(paint)
    paint.update({k: v for k, v in element.items() if k in PAINT})
    if element.get('transform'):
        transform = multiply(transform, parse_transform(element.get('transform')))

    if tag == 'g':
        for child in element:
            shapes(child, transform, paint, out)
        return
    if tag == 'path':
        elements = parse_path(element.get('d', ''))
    elif tag == 'rect':
        rx = element.get('rx')
        ry = element.get('ry')
        rx = svg_number(rx, '<rect> rx') if rx is not None else (
            svg_number(ry, '<rect> ry') if ry is not None else 0.0)
        ry = svg_number(ry, '<rect> ry') if ry is not None else rx
        elements = rect_path(number(element, 'x', 0.0), number(element, 'y', 0.0),
                             number(element, 'width'), number(element, 'height'), rx, ry)
    elif tag == 'circle':
        r = number(element, 'r')
        elements = ellipse_path(number(element, 'cx', 0.0), number(element, 'cy', 0.0), r, r)
    else:
        elements = ellipse_path(number(element, 'cx', 0.0), number(element, 'cy', 0.0),
                                number(element, 'rx'), number(element, 'ry'))

    fill = colour(paint.get('fill', '#000000'))
    stroke = colour(paint.get('stroke', 'none'))
    stroke_width = svg_number(paint.get('stroke-width', '1'), 'stroke-width')
    if stroke is not None:
        # A pen stays round only under a transform that scales both ways alike.
        a, b, c, d, _, _ = transform
        if abs(math.hypot(a, b) - math.hypot(c, d)) > 1e-9 or abs(a * c + b * d) > 1e-9:
            raise DrawingError('an outline under a stretching transform is not supported')
        stroke_width *= math.hypot(a, b)
    rule = paint.get('fill-rule', 'nonzero')
    if rule not in ('nonzero', 'evenodd'):
        raise DrawingError(f'fill-rule {rule!r} is not supported')
    mapped = [(kind, [apply(transform, p) for p in points]) for kind, points in elements]
    out.append({'fill': fill, 'stroke': stroke, 'stroke_width': stroke_width,
                'even_odd': rule == 'evenodd', 'elements': mapped})


# What <svg> may carry: its size and view box, which this reads, and what cannot change the
# picture. Anything else there (paint, style, a transform, preserveAspectRatio, ...) is refused.
SVG_ATTRIBUTES = {'width', 'height', 'viewBox', 'version', 'baseProfile', 'id'}


def read_drawing(path):
    """The drawing in the file at `path`; DrawingError, naming the file, for anything this does
    not draw."""
    try:
        return read_root(ET.parse(path).getroot())
    except (DrawingError, ET.ParseError, ValueError, OSError) as error:
        raise DrawingError(f'{path}: {error}') from error


def read_root(root):
    if root.tag != SVG + 'svg':
        raise DrawingError('not an SVG drawing')
    unknown = set(root.keys()) - SVG_ATTRIBUTES
    if unknown:
        raise DrawingError(f'<svg> has unsupported attributes {sorted(unknown)}')
    view_box = number_list(root.get('viewBox', ''), 'the viewBox')
    if len(view_box) != 4:
        raise DrawingError('the drawing has no viewBox of four numbers')
    width, height = number(root, 'width'), number(root, 'height')
    transform = (1.0, 0.0, 0.0, 1.0, -view_box[0], -view_box[1])
    out = []
    for child in root:
        shapes(child, transform, {}, out)
    return {'size': (width, height), 'view_box': (view_box[2], view_box[3]), 'shapes': out}


def c_float(value):
    text = f'{value:.6g}'
    if 'e' not in text and '.' not in text:
        text += '.0'
    return text + 'f'


def write_cpp(out_path, drawings):
    lines = ['// Made by scripts/svg2drawing.py from the SVG drawings in resources/: do not edit.',
             '#include "drawing.h"', '', '#include <array>', '', 'namespace {', '']
    table = []
    for name, drawing in drawings:
        ops, coords, shape_rows = [], [], []
        for shape in drawing['shapes']:
            first_op, first_coord = len(ops), len(coords)
            for kind, points in shape['elements']:
                ops.append(kind)
                for x, y in points:
                    coords += [x, y]
            fill = 'Drawing::noPaint' if shape['fill'] is None else f'0x{shape["fill"]:06x}u'
            stroke = 'Drawing::noPaint' if shape['stroke'] is None else f'0x{shape["stroke"]:06x}u'
            shape_rows.append(
                f'    {{{fill}, {stroke}, {c_float(shape["stroke_width"])}, '
                f'{"true" if shape["even_odd"] else "false"}, {first_op}, '
                f'{len(ops) - first_op}, {first_coord}}},')
        ident = re.sub(r'\W', '_', name)
        lines.append(f'const Drawing::Shape {ident}Shapes[] = {{')
        lines += shape_rows
        lines.append('};')
        lines.append(f'const Drawing::Op {ident}Ops[] = {{')
        names = {MOVE: 'M', LINE: 'L', CUBIC: 'C', CLOSE: 'Z'}
        for start in range(0, len(ops), 24):
            lines.append('    ' + ', '.join(f'Drawing::{names[o]}' for o in ops[start:start + 24]) + ',')
        lines.append('};')
        lines.append(f'const float {ident}Coords[] = {{')
        for start in range(0, len(coords), 8):
            lines.append('    ' + ', '.join(c_float(v) for v in coords[start:start + 8]) + ',')
        lines.append('};')
        lines.append('')
        w, h = drawing['size']
        vw, vh = drawing['view_box']
        table.append(f'    Drawing{{"{name}", {{{c_float(w)}, {c_float(h)}}}, '
                     f'{{{c_float(vw)}, {c_float(vh)}}}, {ident}Shapes, {ident}Ops, '
                     f'{ident}Coords}},')
    lines.append(f'const std::array<Drawing, {len(table)}> drawings{{{{')
    lines += table
    lines += ['}};', '', '} // namespace', '',
              'const Drawing *Drawing::find(std::string_view name)',
              '{',
              '    for (const Drawing &drawing : drawings)',
              '        if (drawing.name == name)',
              '            return &drawing;',
              '    return nullptr;',
              '}', '']
    with open(out_path, 'w', encoding='utf-8') as out:
        out.write('\n'.join(lines))


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    drawings = []
    for argument in argv[2:]:
        name, _, path = argument.partition('=')
        try:
            drawings.append((name, read_drawing(path)))
        except DrawingError as error:
            print(error, file=sys.stderr)
            return 1
    write_cpp(argv[1], drawings)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
