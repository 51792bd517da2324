#include "net/bytestream.h"

namespace kovanta {

TcpStream::~TcpStream()
{
    net::CloseSocket(socket_);
}

std::size_t TcpStream::sendAll(const char* data, std::size_t size, int& error)
{
    return net::SendAll(socket_, data, size, error);
}

int TcpStream::waitReadable(int timeoutMs, int& error, const net::CancelSignal* cancel)
{
    return net::WaitReadable(socket_, timeoutMs, error, cancel);
}

long TcpStream::receive(char* buffer, std::size_t size, int& error)
{
    return net::Receive(socket_, buffer, size, error);
}

bool TcpStream::connected() const
{
    return net::IsConnected(socket_);
}

} // namespace kovanta
