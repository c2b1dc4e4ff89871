#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

namespace formtest {

// Answers every request with a small page and keeps the first request for the store page.
class LoopbackStoreServer : public QObject {
public:
    LoopbackStoreServer() {
        if (!server_.listen(QHostAddress::LocalHost, 0))
            qFatal("the test server cannot listen on 127.0.0.1");
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                serve(socket);
        });
    }
    quint16 port() const { return server_.serverPort(); }
    const QByteArray& storeRequestTarget() const { return target_; }

private:
    void serve(QTcpSocket* socket) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            buffers_[socket] += socket->readAll();
            const QByteArray& request = buffers_[socket];
            if (!request.contains("\r\n\r\n"))
                return;
            const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
            if (requestLine.size() == 3 && requestLine[1].startsWith("/mc/") && target_.isEmpty())
                target_ = requestLine[1];
            const QByteArray page = "<html><body style='font-family:sans-serif'><h2>Compatible "
                                    "memory upgrades</h2><p>Test store page on 127.0.0.1</p>"
                                    "</body></html>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                          "Content-Length: " +
                          QByteArray::number(page.size()) + "\r\n\r\n" + page);
            socket->disconnectFromHost();
            buffers_.remove(socket);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    QByteArray target_;
};

} // namespace formtest
