#pragma once

#include "support/testdir.h"

#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// A web server for import tests: Python's http.server on 127.0.0.1 (port 0) serving the files
// of site() and logging every request ("HEAD /plan/r1.htm") so tests can count fetches.
// Besides plain files:
//   /umleitung/<path>  302 to /<path>
//   /kurz/<path>       the file with a Content-Length 100 bytes too large (connection closed)
//   /leer/<path>       204 No Content (an answer without data and without an error status)
//   /ohnegrund/<path>  404 without a reason text
//   anything missing   404 "Not Found"
// The server stops by itself after three minutes; the destructor ends it earlier.
class PyHttpServer {
public:
    PyHttpServer()
    {
        const std::string script = dir_.write("server.py", R"PY(
import http.server, os, sys, threading, urllib.parse
base = sys.argv[1]
site = os.path.join(base, 'site')
log = open(os.path.join(base, 'requests.log'), 'a')

class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass
    def do_HEAD(self):
        self.answer(False)
    def do_GET(self):
        self.answer(True)
    def answer(self, body):
        log.write('%s %s\n' % (self.command, self.path))
        log.flush()
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        if path.startswith('/umleitung/'):
            self.send_response(302)
            self.send_header('Location', path[len('/umleitung'):])
            self.end_headers()
            return
        if path.startswith('/ausweg/'):
            self.send_response(302)
            self.send_header('Location', 'file:///etc/hostname')
            self.end_headers()
            return
        if path.startswith('/ohnegrund/'):
            self.wfile.write(b'HTTP/1.0 404\r\nContent-Length: 0\r\n\r\n')
            return
        if path.startswith('/leer/'):
            self.send_response(204)
            self.end_headers()
            return
        short = path.startswith('/kurz/')
        if short:
            path = path[len('/kurz'):]
        file = os.path.join(site, path.lstrip('/'))
        if not os.path.isfile(file):
            self.send_response(404, 'Not Found')
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        data = open(file, 'rb').read()
        self.send_response(200)
        self.send_header('Content-Type', 'text/html; charset=windows-1252')
        self.send_header('Content-Length', str(len(data) + (100 if short else 0)))
        self.end_headers()
        if body:
            self.wfile.write(data)

server = http.server.HTTPServer(('127.0.0.1', 0), Handler)
with open(os.path.join(base, 'port.tmp'), 'w') as f:
    f.write(str(server.server_address[1]))
os.rename(os.path.join(base, 'port.tmp'), os.path.join(base, 'port'))
threading.Timer(180, server.shutdown).start()
server.serve_forever()
)PY");
        std::filesystem::create_directories(dir_.path() / "site");
        const std::string dirArg = dir_.path().string();
        char* argv[] = {const_cast<char*>("python3"), const_cast<char*>(script.c_str()),
                        const_cast<char*>(dirArg.c_str()), nullptr};
        if (::posix_spawnp(&pid_, "python3", nullptr, nullptr, argv, environ) != 0)
            pid_ = -1;
        for (int i = 0; i < 200 && pid_ > 0 && port_ == 0; ++i) {
            std::ifstream in(dir_.path() / "port");
            if (!(in >> port_))
                port_ = 0;
            if (port_ == 0)
                ::usleep(50 * 1000);
        }
    }
    ~PyHttpServer()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    PyHttpServer(const PyHttpServer&) = delete;
    PyHttpServer& operator=(const PyHttpServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // Puts a file into the served site ("plan/r1.htm").
    void put(const std::string& path, const std::string& bytes) const
    {
        dir_.write("site/" + path, bytes);
    }
    // Every request so far, "METHOD /path".
    std::vector<std::string> requests() const
    {
        std::vector<std::string> lines;
        std::ifstream in(dir_.path() / "requests.log");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    int count(const std::string& request) const
    {
        int n = 0;
        for (const std::string& r : requests())
            n += r == request ? 1 : 0;
        return n;
    }

private:
    TestDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};
