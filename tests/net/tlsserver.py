# Servers for the HTTPS tests, all on 127.0.0.1 with ports chosen by the system. Makes a test CA
# and the certificates in the directory given (argv[1]), writes the CA to ca.pem for the client's
# trust store and "name port" lines to ports once every server listens. Stops after 3 minutes.
import datetime, http.server, ipaddress, os, socket, socketserver, ssl, sys, threading
from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import NameOID

base = sys.argv[1]
now = datetime.datetime.now(datetime.timezone.utc)
day = datetime.timedelta(days=1)


def certificate(name, issuer=None, start=now - day, end=now + 30 * day, ca=False):
    key = ec.generate_private_key(ec.SECP256R1())
    subject = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, name)])
    signer = issuer or (subject, key)
    builder = (x509.CertificateBuilder().subject_name(subject).issuer_name(signer[0])
               .public_key(key.public_key()).serial_number(x509.random_serial_number())
               .not_valid_before(start).not_valid_after(end)
               .add_extension(x509.BasicConstraints(ca=ca, path_length=None), critical=True))
    if not ca:
        builder = builder.add_extension(x509.SubjectAlternativeName(
            [x509.DNSName(name), x509.IPAddress(ipaddress.ip_address('127.0.0.1'))]), False)
    return builder.sign(signer[1], hashes.SHA256()), key


def pem(cert, key, path):
    with open(path, 'wb') as f:
        f.write(cert.public_bytes(serialization.Encoding.PEM))
        if key:
            f.write(key.private_bytes(serialization.Encoding.PEM,
                                      serialization.PrivateFormat.PKCS8,
                                      serialization.NoEncryption()))
    return path


ca, caKey = certificate('Kovanta Test-CA', ca=True)
other, otherKey = certificate('Fremde CA', ca=True)
pem(ca, None, os.path.join(base, 'ca.pem'))
caSigner = (ca.subject, caKey)
chains = {
    'gut': certificate('kueche.test', caSigner),
    'abgelaufen': certificate('kueche.test', caSigner, now - 30 * day, now - day),
    'zukunft': certificate('kueche.test', caSigner, now + day, now + 30 * day),
    'fremd': certificate('kueche.test', (other.subject, otherKey)),
    'selbst': certificate('kueche.test'),
}
ports = {}
page = b'<LIVE-DATEN>Gulasch vom Rind\r\n' * 40


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self.answer(False)

    def do_GET(self):
        self.answer(True)

    def answer(self, body):
        if self.path == '/nachhttp.htm':
            self.send_response(302)
            self.send_header('Location', 'http://kueche.test/seite.htm')
        elif self.path == '/zuhttps.htm':
            self.send_response(302)
            self.send_header('Location', 'https://kueche.test:%d/seite.htm' % ports['gut'])
        else:
            self.send_response(200)
            short = 100 if self.path == '/kurz.htm' else 0
            self.send_header('Content-Length', str(len(page) + short))
        self.end_headers()
        if body:
            self.wfile.write(page)


def serve(name, server):
    ports[name] = server.server_address[1]
    threading.Thread(target=server.serve_forever, daemon=True).start()


for name, (cert, key) in chains.items():
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(pem(cert, key, os.path.join(base, name + '.pem')))
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    serve(name, server)
serve('klar', http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler))
# A server that stopped at TLS 1.1.
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(os.path.join(base, 'gut.pem'))
context.maximum_version = ssl.TLSVersion.TLSv1_1
context.set_ciphers('DEFAULT:@SECLEVEL=0')
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
server.socket = context.wrap_socket(server.socket, server_side=True)
serve('alt', server)


class Raw(socketserver.BaseRequestHandler):
    """The hello read, then: 'stumm' sends half a server hello and stalls, 'unsinn' answers
    plain text; 'proxy' tunnels CONNECT to 'gut' and refuses gesperrt.test."""

    def handle(self):
        hello = self.request.recv(4096)
        kind = self.server.kind
        # A proxy reads the whole request before it answers: the client may send its lines in
        # several pieces, and none of them may reach the tunnel.
        while kind == 'proxy' and b'\r\n\r\n' not in hello:
            more = self.request.recv(4096)
            if not more:
                return
            hello += more
        if kind == 'stumm':
            self.request.sendall(b'\x16\x03\x03\x00\x7a\x02\x00')
            threading.Event().wait(60)
        elif kind == 'unsinn':
            self.request.sendall(b'HTTP/1.0 200 OK\r\n\r\nkein TLS')
        elif hello.startswith(b'CONNECT gesperrt.test'):
            self.request.sendall(b'HTTP/1.0 403 Forbidden\r\n\r\n')
        elif hello.startswith(b'CONNECT kueche.test:'):
            upstream = socket.create_connection(('127.0.0.1', ports['gut']))
            self.request.sendall(b'HTTP/1.0 200 Connection established\r\nX-Proxy: test\r\n\r\n')
            threading.Thread(target=self.pipe, args=(upstream, self.request), daemon=True).start()
            self.pipe(self.request, upstream)

    @staticmethod
    def pipe(source, target):
        try:
            while data := source.recv(65536):
                target.sendall(data)
            target.shutdown(socket.SHUT_WR)
        except OSError:
            pass


for kind in ('stumm', 'unsinn', 'proxy'):
    server = socketserver.ThreadingTCPServer(('127.0.0.1', 0), Raw)
    server.daemon_threads = True
    server.kind = kind
    serve(kind, server)

with open(os.path.join(base, 'ports.tmp'), 'w') as f:
    f.writelines('%s %d\n' % item for item in ports.items())
os.rename(os.path.join(base, 'ports.tmp'), os.path.join(base, 'ports'))
threading.Event().wait(180)
