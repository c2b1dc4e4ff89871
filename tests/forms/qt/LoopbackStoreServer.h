#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

namespace formtest {

// Answers every request with a small page, or with what a test set for its path, and keeps the
// first request for the store page.
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
    // Requests whose target starts with the prefix get this body, after the given header lines.
    void answer(const QByteArray& prefix, const QByteArray& body,
                const QByteArray& headers = "Content-Type: text/html\r\n") {
        answers_.append({prefix, headers, body});
    }

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
            QByteArray headers = "Content-Type: text/html\r\n";
            QByteArray page = "<html><body style='font-family:sans-serif'><h2>Compatible "
                              "memory upgrades</h2><p>Test store page on 127.0.0.1</p>"
                              "</body></html>";
            for (const Answer& answer : answers_)
                if (requestLine.size() == 3 && requestLine[1].startsWith(answer.prefix)) {
                    headers = answer.headers;
                    page = answer.body;
                    break;
                }
            socket->write("HTTP/1.1 200 OK\r\n" + headers +
                          "Connection: close\r\nContent-Length: " +
                          QByteArray::number(page.size()) + "\r\n\r\n" + page);
            socket->disconnectFromHost();
            buffers_.remove(socket);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    struct Answer {
        QByteArray prefix, headers, body;
    };
    QTcpServer server_;
    QList<Answer> answers_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    QByteArray target_;
};

} // namespace formtest
