"""The shipped 32-bit build (build/x86, made by scripts/test before this runs)
and the icon generator.

Every shipped executable must start on any Windows: it imports only DLLs
that every Windows has (the C++ runtime is linked in), and it is
large-address-aware, stripped and under 1.5 MB."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SHIPPED = ("zorvo-resolve.exe", "zorvo-link.exe")
SIZE_LIMIT = 1536 * 1024

# System DLLs present on every Windows the program supports.
SYSTEM_DLLS = {
    "advapi32.dll", "atl.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "gdi32.dll", "gdiplus.dll",
    "imm32.dll", "kernel32.dll", "msimg32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winhttp.dll", "wininet.dll", "ws2_32.dll",
}


class ShippedExecutables(unittest.TestCase):
    def test_each_starts_on_any_windows(self):
        for name in SHIPPED:
            with self.subTest(executable=name):
                path = os.path.join(ROOT, "build", "x86", name)
                self.assertTrue(os.path.exists(path), "build/x86 is not built")
                headers = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], check=True,
                                         capture_output=True, text=True).stdout
                self.assertIn("file format pei-i386", headers)
                self.assertIn("large address aware", headers)
                self.assertIn("symbols stripped", headers)
                dlls = re.findall(r"DLL Name: (\S+)", headers)
                self.assertIn("kernel32.dll", [dll.lower() for dll in dlls])
                self.assertEqual([dll for dll in dlls if dll.lower() not in SYSTEM_DLLS], [])
                self.assertLess(os.path.getsize(path), SIZE_LIMIT)


class IconGenerator(unittest.TestCase):
    def test_writes_the_same_file_every_time(self):
        with tempfile.TemporaryDirectory() as folder:
            files = []
            for name in ("a.ico", "b.ico"):
                path = os.path.join(folder, name)
                subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_icon.py"), path], check=True)
                with open(path, "rb") as file:
                    files.append(file.read())
        self.assertEqual(len(files[0]), 22486)
        self.assertEqual(files[0], files[1])


if __name__ == "__main__":
    unittest.main()
