#!/usr/bin/env python3
"""A local stand-in for the update service, for the tests of the update client.

HTTPS on the loopback address only. It hands out request tokens ("getToken"), decrypts the token
of every other request with the service's private key and refuses one it did not hand out, and
answers "getVersion", "getFile", "getProductInfo" and any other request as a scenario says.

Scenarios and records live in the state folder, one pair of files per product, the product being
the start of the client's agent text (name-version-platform):
  <product>.scenario  lines "key=value", value form-encoded, read at every request:
      token_length=N          length of the tokens handed out (default 32)
      bad_token=1             refuse every token
      <request>.status=N      status code (default 200), <request>.reason=text
      <request>.body=text     answer body; <request>.file=path answers a file's bytes
      <request>.truncate=N    announce the whole length, send only N bytes, close
      <request>.no_length=1   no Content-Length: the body ends when the connection closes
      <request>.delay=MS      send the body in pieces of 4096 bytes, waiting MS between them
      <request>.hold=path     answer only once the file exists (at most 60 seconds)
  <product>.requests  one line per request: name, agent, content type, body, token verdict,
      tab-separated.
"GET /identity" answers the text given as --identity, so that whoever started the service can tell
it from another one on the same port.
A second listener on the next port presents a certificate no one trusts. Two more, on ports the
system picks, present the test authority's certificates for another host ("elsewhere") and for
localhost but expired ("expired"); their ports stand in the state folder as listeners.txt, lines
"name=port".
"""

import argparse
import http.server
import os
import re
import secrets
import ssl
import string
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

issued_tokens = set()
tokens_lock = threading.Lock()


def product_of(agent):
    parts = agent.rsplit("-", 2)
    return parts[0] if len(parts) == 3 else agent


def file_stem(product):
    return re.sub(r"[^A-Za-z0-9_.]", "_", product)


def read_scenario(state, product):
    scenario = {}
    try:
        with open(os.path.join(state, file_stem(product) + ".scenario"), encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\r\n")
                if "=" in line:
                    key, value = line.split("=", 1)
                    scenario[key] = urllib.parse.unquote_plus(value)
    except FileNotFoundError:
        pass
    return scenario


def decrypt_token(hex_token, key_file):
    try:
        data = bytes.fromhex(hex_token)
    except ValueError:
        return None
    if not data or len(data) % 128:
        return None
    plain = b""
    for i in range(0, len(data), 128):
        # CryptoAPI writes the block least significant byte first.
        block = data[i:i + 128][::-1]
        with tempfile.NamedTemporaryFile() as f:
            f.write(block)
            f.flush()
            result = subprocess.run(
                ["openssl", "pkeyutl", "-decrypt", "-inkey", key_file, "-in", f.name,
                 "-pkeyopt", "rsa_padding_mode:pkcs1"],
                capture_output=True)
        if result.returncode != 0:
            return None
        plain += result.stdout
    return plain


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuilloraTestService/1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        if urllib.parse.urlsplit(self.path).path != "/identity":
            return self.answer(404, None, b"", {})
        self.answer(200, None, self.server.identity.encode("utf-8"), {})

    def do_POST(self):
        state = self.server.state
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
        name = query.get("r", [""])[0]
        length = int(self.headers.get("Content-Length", "0"))
        raw = self.rfile.read(length).decode("latin-1")
        agent = self.headers.get("User-Agent", "")
        product = product_of(agent)
        scenario = read_scenario(state, product)
        parameters = urllib.parse.parse_qsl(raw, keep_blank_values=True, encoding="utf-8")

        verdict = "-"
        if name == "getToken":
            size = int(scenario.get("token_length", "32"))
            alphabet = string.ascii_letters + string.digits
            token = "".join(secrets.choice(alphabet) for _ in range(size)).encode()
            with tokens_lock:
                issued_tokens.add(token)
            body = token
        else:
            token = dict(parameters).get("token")
            plain = decrypt_token(token, self.server.token_key) if token else None
            with tokens_lock:
                known = plain is not None and plain in issued_tokens
                if known:
                    issued_tokens.discard(plain)
            verdict = "good" if known and scenario.get("bad_token") != "1" else "bad"
            body = None

        with open(os.path.join(state, file_stem(product) + ".requests"), "a", encoding="utf-8") as log:
            log.write("\t".join([name, agent, self.headers.get("Content-Type", ""), raw, verdict]) + "\n")

        if verdict == "bad":
            return self.answer(403, "Invalid token", b"", {})
        status = int(scenario.get(name + ".status", "200"))
        reason = scenario.get(name + ".reason")
        if body is None:
            if name + ".file" in scenario:
                with open(scenario[name + ".file"], "rb") as f:
                    body = f.read()
            else:
                body = scenario.get(name + ".body", "").encode("utf-8")
        self.answer(status, reason, body, scenario, name)

    def answer(self, status, reason, body, scenario, name=""):
        hold = scenario.get(name + ".hold")
        if hold:
            deadline = time.monotonic() + 60
            while not os.path.exists(hold) and time.monotonic() < deadline:
                time.sleep(0.05)
        truncate = scenario.get(name + ".truncate")
        no_length = scenario.get(name + ".no_length") == "1"
        delay = int(scenario.get(name + ".delay", "0")) / 1000.0
        self.send_response(status, reason)
        self.send_header("Content-Type", "application/octet-stream")
        if no_length:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(body)))
        if truncate is not None:
            body = body[:int(truncate)]
            self.close_connection = True
        self.end_headers()
        try:
            if delay:
                for i in range(0, len(body), 4096):
                    self.wfile.write(body[i:i + 4096])
                    self.wfile.flush()
                    time.sleep(delay)
            else:
                self.wfile.write(body)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            self.close_connection = True


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def finish_request(self, request, client_address):
        # Each connection shakes hands on its own thread: a client that connects and says nothing
        # yet (a program starting slowly, one that ended half-way) keeps no other one waiting, as
        # a handshake in the listener's accept would.
        try:
            request = self.context.wrap_socket(request, server_side=True)
        except OSError:
            return
        try:
            super().finish_request(request, client_address)
        finally:
            request.close()


def listen(port, certificate, key, state, token_key, identity):
    """A listener on the loopback address; port 0 lets the system pick a free one."""
    server = Server(("127.0.0.1", port), Handler)
    server.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    server.context.load_cert_chain(certificate, key)
    server.state = state
    server.token_key = token_key
    server.identity = identity
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--state", required=True)
    parser.add_argument("--certificates", required=True, help="folder of make-certificates")
    parser.add_argument("--identity", default="", help="what GET /identity answers")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    token_key = os.path.join(here, "token-key.pem")
    os.makedirs(args.state, exist_ok=True)
    c = args.certificates
    # The others first: once the service's own port answers, the tests find everything in place.
    others = [listen(args.port + 1, os.path.join(c, "untrusted.pem"), os.path.join(c, "untrusted-key.pem"),
                     args.state, token_key, args.identity)]
    ports = []
    for name in ("elsewhere", "expired"):
        others.append(listen(0, os.path.join(c, name + ".pem"), os.path.join(c, name + "-key.pem"), args.state,
                             token_key, args.identity))
        ports.append("%s=%d\n" % (name, others[-1].server_address[1]))
    with open(os.path.join(args.state, "listeners.txt"), "w", encoding="utf-8") as f:
        f.writelines(ports)
    for server in others:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    trusted = listen(args.port, os.path.join(c, "service.pem"), os.path.join(c, "service-key.pem"), args.state,
                     token_key, args.identity)
    print("listening", flush=True)
    trusted.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
