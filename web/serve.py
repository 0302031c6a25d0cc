#!/usr/bin/python3
"""Serves the page's folder as any static web server would, on
http://localhost:PORT/ (8000 unless given), until Ctrl+C.

Usage: serve.py FOLDER [PORT]
"""
import functools
import http.server
import sys


class PageFiles(http.server.SimpleHTTPRequestHandler):
    # A browser compiles WebAssembly while it arrives only when it is named so.
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".webmanifest": "application/manifest+json",
    }

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()


class QuietPageFiles(PageFiles):
    def log_message(self, *args):
        pass


def server(folder, port=8000, quiet=False):
    """A server of the folder, not yet started (serve_forever starts it)."""
    handler = functools.partial(QuietPageFiles if quiet else PageFiles, directory=folder)
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8000
    pages = server(sys.argv[1], port)
    print(f"Möwenschuss: http://localhost:{port}/ (Ctrl+C beendet)")
    try:
        pages.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
