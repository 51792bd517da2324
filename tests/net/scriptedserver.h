#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <future>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// An in-process HTTP server on 127.0.0.1 that answers each accepted connection with the next
// script, for answers no real server gives (silence, endless data, early close). Every wait is
// bounded, and the destructor stops the thread, so a faulty client cannot hang the test.
class ScriptedServer {
public:
    // Called with the connection and the request head received (up to the empty line).
    using Script = std::function<void(ScriptedServer& server, int fd, const std::string& request)>;

    explicit ScriptedServer(std::vector<Script> scripts) : scripts_(std::move(scripts))
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_, 8);
        socklen_t len = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~ScriptedServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listen_);
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t port() const { return port_; }
    bool stopping() const { return stop_; }

    std::vector<std::string> requests()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

    // Sends all bytes; false once the client has gone or the server is stopping.
    bool sendAll(int fd, const std::string& bytes)
    {
        std::size_t sent = 0;
        while (sent < bytes.size() && !stop_) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<std::size_t>(n);
        }
        return sent == bytes.size();
    }

    // Keeps the connection open without a word until the client closes it or the server stops
    // (at most `limit`).
    void stayQuiet(int fd, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char c;
                if (::recv(fd, &c, 1, 0) <= 0)
                    return;
            }
        }
    }

    // Scripts for the usual cases.
    static Script answer(std::string bytes)
    {
        return [bytes](ScriptedServer& s, int fd, const std::string&) { s.sendAll(fd, bytes); };
    }

private:
    void run()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::size_t next = 0;
        while (!stop_ && next < scripts_.size() && std::chrono::steady_clock::now() < deadline) {
            pollfd p{listen_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            const std::string request = readHead(fd);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(request);
            }
            scripts_[next++](*this, fd, request);
            ::close(fd);
        }
    }

    std::string readHead(int fd)
    {
        std::string head;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!stop_ && head.find("\r\n\r\n") == std::string::npos &&
               std::chrono::steady_clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buf[512];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            head.append(buf, static_cast<std::size_t>(n));
        }
        return head;
    }

    std::vector<Script> scripts_;
    int listen_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
};

// A name resolver that blocks like a name server that never answers, until the test ends (at
// most 20 s), then gives 127.0.0.1. Lookup threads that outlive the test share its state.
class BlockingResolver {
public:
    ~BlockingResolver() { release_.set_value(); }
    std::function<int(const std::string&, std::uint32_t&, int&)> resolver() const
    {
        return [done = done_, returned = returned_](const std::string&, std::uint32_t& address, int&) {
            done.wait_for(std::chrono::seconds(20));
            ++*returned;
            address = htonl(INADDR_LOOPBACK);
            return 0;
        };
    }
    // Lookups that have come back.
    int returned() const { return *returned_; }

private:
    std::promise<void> release_;
    std::shared_future<void> done_ = release_.get_future().share();
    std::shared_ptr<std::atomic<int>> returned_ = std::make_shared<std::atomic<int>>(0);
};
