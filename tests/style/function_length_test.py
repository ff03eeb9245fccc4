#!/usr/bin/env python3
"""The function length check on small sources written the ways this codebase writes them:
each row a piece of C++ and the functions, with their lengths in lines, the check must see.

    function_length_test.py
"""
import os
import sys
import unittest

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import function_length  # noqa: E402

CASES = [
    ("a function from its opening brace to its closing one",
     "int twice(int a)\n{\n    return 2 * a;\n}\n", [("twice", 3)]),
    ("braces in comments and literals do not count",
     "void f() {\n"
     "    // {\n"
     "    /* } { */\n"
     "    g(\"{\", '}', '\\'', \"\\\"{\");\n"
     "    h(R\"x(\n"
     "}} )\" {\n"
     ")x\", u8\"}\", L'{');\n"
     "}\n", [("f", 8)]),
    ("digit separators are not character literals",
     "int f() { return 1'000; }\nint g() {\n    return '{';\n}\n", [("f", 1), ("g", 3)]),
    ("a preprocessor line is not code",
     "#define OPEN {\n#if 0 \\\n   }\n#endif\nvoid f() {\n}\n", [("f", 2)]),
    ("a lambda counts toward its function",
     "void f() {\n    auto g = [](int a) {\n        return a;\n    };\n}\n", [("f", 5)]),
    ("namespaces and class bodies are not functions; member functions are",
     "namespace a::b {\nnamespace {\nclass Box : public Base {\npublic:\n"
     "    int size() const { return 1; }\nprivate slots:\n    void grow() override {\n    }\n"
     "};\n}  // namespace\n}\n",
     [("Box::size", 1), ("Box::grow", 2)]),
    ("a table's initializer is not a function",
     "inline constexpr std::array<Row, 2> kRows{{\n    {.id = 1, .name = \"a\"},\n"
     "    {.id = 2, .name = \"b\"},\n}};\nconst Row kOther = {3, {4, 5}};\n"
     "enum class Kind : int {\n    A,\n};\n", []),
    ("a lambda that initializes a constant is a function of its own",
     "constexpr auto kPowers = [] {\n    std::array<int, 3> p{};\n    return p;\n}();\n"
     "int f() {\n}\n", [("kPowers", 4), ("f", 2)]),
    ("a constructor's member initializers are not its name",
     "Window::Window(int a) noexcept : Base(a), m_list{a, 2}, m_size(a) {\n}\n"
     "Window::~Window() {\n}\n", [("Window::Window", 2), ("Window::~Window", 2)]),
    ("operators, trailing return types and templates",
     "bool operator==(const A& a, const A& b) {\n}\nint A::operator()(int x) const {\n}\n"
     "auto f() -> std::vector<int> {\n}\n"
     "template <class T = int, int N = 3>\nT g(T a = T{}) noexcept(N > 2) {\n}\n",
     [("operator==", 2), ("A::operator()", 2), ("f", 2), ("g", 2)]),
]


class FunctionLengthTest(unittest.TestCase):
    def test_functions(self):
        for name, source, expected in CASES:
            with self.subTest(name):
                found = [(f, last - first + 1)
                         for f, first, last in function_length.functions(source)]
                self.assertEqual(found, expected)


if __name__ == "__main__":
    unittest.main()
