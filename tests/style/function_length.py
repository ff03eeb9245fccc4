#!/usr/bin/env python3
"""Fails when a program function is longer than 60 lines, from the line of its opening brace
to the line of its closing brace, in the tracked C++ sources of the program's layers.

    function_length.py SOURCE_DIR

The reading is a heuristic, not a compiler: comments, string and character literals (raw
strings too) and preprocessor lines are skipped; a lambda counts toward the function it is
written in; namespaces, class bodies, enumerations and braced initializers are not functions,
but a lambda in an initializer outside any function is one, named after what it initializes.
"""
import os
import re
import subprocess
import sys
from dataclasses import dataclass, field

MAX_LINES = 60
LAYERS = ("app", "cli", "engine", "export", "files", "inputfile", "ui")

IDENTIFIER = re.compile(r"[A-Za-z_]\w*")
# A preprocessing number: digits, letters, '.', digit separators and signed exponents.
NUMBER = re.compile(r"\.?\d(?:[eEpP][+-]|['\w.])*")
RAW_PREFIXES = {"R", "u8R", "uR", "UR", "LR"}
TEXT_PREFIXES = {"u8", "u", "U", "L"}
SPECIFIERS = {"const", "volatile", "noexcept", "override", "final", "mutable", "constexpr",
              "consteval", "&", "&&", "try"}
ACCESS = {"public", "protected", "private", "signals", "slots", "Q_SIGNALS", "Q_SLOTS"}
CLASS_KEYS = {"class", "struct", "union"}


@dataclass
class Token:
    text: str
    line: int


def skip_literal(text, i, quote):
    """The index after the literal whose opening quote is at i."""
    i += 1
    while i < len(text) and text[i] != quote:
        i += 2 if text[i] == "\\" else 1
    return i + 1


def tokenize(text):
    """The tokens of C++ `text` without comments, literals' contents and preprocessor lines;
    a literal is one token "LITERAL"."""
    tokens = []
    line = 1
    i = 0
    at_line_start = True
    while i < len(text):
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
            at_line_start = True
            continue
        if c.isspace():
            i += 1
            continue
        start = i
        if c == "#" and at_line_start:
            while i < len(text) and text[i] != "\n":
                i += 2 if text[i] == "\\" else 1
        elif text.startswith("//", i):
            i = text.find("\n", i)
            i = len(text) if i < 0 else i
        elif text.startswith("/*", i):
            i = text.find("*/", i + 2) + 2
            i = len(text) if i < 2 else i
        elif m := NUMBER.match(text, i):
            i = m.end()
        elif m := IDENTIFIER.match(text, i):
            i = m.end()
            word = m.group()
            if word in RAW_PREFIXES and text.startswith('"', i):
                delimiter = text[i + 1:text.index("(", i)]
                i = text.index(")" + delimiter + '"', i) + len(delimiter) + 2
                tokens.append(Token("LITERAL", line))
            elif word in TEXT_PREFIXES and i < len(text) and text[i] in "\"'":
                i = skip_literal(text, i, text[i])
                tokens.append(Token("LITERAL", line))
            else:
                tokens.append(Token(word, line))
        elif c in "\"'":
            i = skip_literal(text, i, c)
            tokens.append(Token("LITERAL", line))
        elif text.startswith(("::", "->"), i):
            i += 2
            tokens.append(Token(text[start:i], line))
        else:
            i += 1
            tokens.append(Token(c, line))
        line += text.count("\n", start, i)
        at_line_start = False
    return tokens


def balanced_start(words, end, close, open_):
    """The index of the bracket that opens the group closing at words[end]."""
    depth = 0
    for k in range(end, -1, -1):
        depth += (words[k] == close) - (words[k] == open_)
        if depth == 0:
            return k
    return 0


def top_level(words):
    """The indexes of `words` outside parentheses, brackets and template argument lists."""
    out = []
    depth = 0
    angle = 0
    k = 0
    while k < len(words):
        w = words[k]
        if w == "operator":  # its symbols are a name, not brackets or an assignment
            out.append(k)
            k += 1
            while k < len(words) and words[k] != "(":
                k += 1
            if k + 1 < len(words) and words[k + 1] == ")" and k + 2 < len(words) \
                    and words[k + 2] == "(":
                k += 2  # operator()
            continue
        if w == "template" and k + 1 < len(words) and words[k + 1] == "<":
            angle += 1
            k += 2
            continue
        if angle and w == "<":
            angle += 1
        elif angle and w == ">":
            angle -= 1
        elif w in ("(", "["):
            depth += 1
        elif w in (")", "]"):
            depth -= 1
        elif depth == 0 and angle == 0:
            out.append(k)
        k += 1
    return out


def strip_specifiers(words):
    """`words` without the specifiers and trailing return type after a parameter list."""
    end = len(words)
    while True:
        top = [k for k in top_level(words[:end]) if words[k] == "->"]
        if top and ")" in words[:top[-1]]:
            end = top[-1]
        elif end and words[end - 1] in SPECIFIERS:
            end -= 1
        elif end and words[end - 1] == ")" and \
                words[balanced_start(words, end - 1, ")", "(") - 1] == "noexcept":
            end = balanced_start(words, end - 1, ")", "(") - 1
        else:
            return words[:end]


def parameters_end(words):
    """The index of the ')' that closes a function's parameters in a declaration that opens a
    function body (of ']' for a lambda without parameters), or None when it opens none."""
    head = strip_specifiers(words)
    if head[-1:] not in ([")"], ["]"], ["{}"]):  # "{}": a braced member initializer
        return None
    for k in top_level(head):
        if head[k] == ":":  # a constructor's member initializers follow its parameters
            before = strip_specifiers(head[:k])
            if before and before[-1] == ")":
                return len(before) - 1
    return len(head) - 1 if head[-1] != "{}" else None


def function_name(words, close):
    """The name before the parameters that `close` ends: "frmMain::buildFields",
    "operator==", "~Foo"."""
    k = balanced_start(words, close, ")", "(") - 1
    if k >= 0 and words[k] in (")", "]") and "operator" not in words[max(0, k - 3):k]:
        return None  # a lambda: its name is that of what it initializes
    end = k + 1
    while k >= 0 and words[k] != "operator" and not IDENTIFIER.fullmatch(words[k]):
        k -= 1  # an operator's symbols
    while k > 0 and (words[k - 1] in ("::", "~") or
                     (IDENTIFIER.fullmatch(words[k - 1]) and words[k] in ("::", "~"))):
        k -= 1
    return "".join(words[k:end])


def declared_name(words):
    """The name a declaration declares: the last identifier before its '=' or initializer."""
    top = top_level(words)
    assignment = [k for k in top if words[k] == "="]
    end = assignment[0] if assignment else len(words)
    names = [w for w in words[:end] if IDENTIFIER.fullmatch(w)]
    return names[-1] if names else "?"


@dataclass
class Scope:
    kind: str  # "outer" (a namespace or class body, or the file), or "init"
    name: str = ""  # a class's name
    words: list = field(default_factory=list)  # the declaration read so far
    parens: int = 0


def classify(scope, stack):
    """What the '{' that follows `scope.words` opens: ("function", name), ("outer", class
    name) or ("init", "")."""
    words = scope.words
    top = top_level(words)
    close = parameters_end(words)
    if scope.kind == "init" or scope.parens > 0 or any(words[k] == "=" for k in top):
        # An initializer: a lambda's body, or a braced initializer.
        if close is not None and (words[close] == "]" or function_name(words, close) is None):
            owner = next(s for s in reversed(stack) if s.kind == "outer")
            return "function", declared_name(owner.words)
        return "init", ""
    if "namespace" in words or (words[:1] == ["extern"] and len(words) == 2):
        return "outer", ""
    if close is not None and words[close] == ")":
        name = function_name(words, close)
        if stack[-1].name and "::" not in name:
            name = stack[-1].name + "::" + name
        return "function", name
    keys = [k for k in top if words[k] in CLASS_KEYS]
    if keys and "enum" not in words:
        names = [w for w in words[keys[0] + 1:]
                 if IDENTIFIER.fullmatch(w) and w not in ("final", "alignas")]
        return "outer", names[0] if names else ""
    return "init", ""


def functions(text):
    """(name, first line, last line) of each function body in C++ `text`."""
    found = []
    stack = [Scope("outer")]
    body = None  # [name, first line, brace depth] of the function being read
    for token in tokenize(text):
        t = token.text
        if body is not None:
            body[2] += (t == "{") - (t == "}")
            if body[2] == 0:
                found.append((body[0], body[1], token.line))
                body = None
                scope = stack[-1]
                if scope.kind == "outer" and scope.parens == 0 and \
                        "=" not in [scope.words[k] for k in top_level(scope.words)]:
                    scope.words = []  # a definition ends its declaration
                else:
                    scope.words.append("{}")
            continue
        scope = stack[-1]
        if t == "{":
            kind, name = classify(scope, stack)
            if kind == "function":
                body = [name, token.line, 1]
            else:
                stack.append(Scope(kind, name))
        elif t == "}":
            if len(stack) > 1:
                closed = stack.pop()
                parent = stack[-1]
                if closed.kind == "outer" and not closed.name:
                    parent.words = []  # a namespace needs no ';'
                else:
                    parent.words.append("{}")
        elif t == ";" and scope.parens == 0 or (t == "," and scope.kind == "init"
                                                and scope.parens == 0):
            scope.words = []
        elif t == ":" and scope.words[-1:] and scope.words[-1] in ACCESS:
            scope.words = []
        else:
            scope.parens += (t == "(") - (t == ")")
            scope.words.append(t)
    return found


def program_files(root):
    """The tracked .cpp and .h files of the program's layers, relative to `root`."""
    try:
        listed = subprocess.run(["git", "-C", root, "ls-files", "--", *LAYERS],
                                capture_output=True, text=True, check=True).stdout.split()
    except (OSError, subprocess.CalledProcessError):  # not a checkout: every file there
        listed = [os.path.relpath(os.path.join(d, f), root)
                  for layer in LAYERS for d, _, names in os.walk(os.path.join(root, layer))
                  for f in names]
    return sorted(f for f in listed if f.endswith((".cpp", ".h")))


def problems(long_functions):
    """The failures, one per long function; `long_functions` holds (file, name, first line,
    lines)."""
    return [f"{file}:{first}: {name} is {lines} lines long, more than {MAX_LINES}: "
            "split it into steps" for file, name, first, lines in long_functions]


def main():
    root = sys.argv[1]
    long_functions = []
    for file in program_files(root):
        with open(os.path.join(root, file), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for name, first, last in functions(text):
            if last - first + 1 > MAX_LINES:
                long_functions.append((file, name, first, last - first + 1))
    failures = problems(long_functions)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
