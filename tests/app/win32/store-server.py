#!/usr/bin/env python3
"""Stands in for the memory store's web server on the loopback interface: answers every GET with
a small page and appends the request's target (path and query, as sent) to a log, one per line.
Usage: store-server.py PORT LOG_FILE. Prints "ready" once it listens."""
import http.server
import sys


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(self.server.log_file, "a", encoding="latin-1") as log:
            log.write(self.path + "\n")
        body = b"<html><body>Compatible memory</body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    port, log_file = int(sys.argv[1]), sys.argv[2]
    server = http.server.HTTPServer(("127.0.0.1", port), Handler)
    server.log_file = log_file
    print("ready", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
