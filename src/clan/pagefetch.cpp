// SPDX-License-Identifier: GPL-3.0-or-later
#include "clan/pagefetch.h"

#include "clan/clanlog.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

namespace {

// A real page is a few kilobytes.
constexpr qint64 kMaxPageSize = 1024 * 1024;
constexpr qint64 kReadChunk = 64 * 1024;

struct Transfer
{
    QByteArray body;
    QString failure; // empty while the transfer goes well
};

// Takes what has arrived, up to one byte beyond the cap, and aborts the transfer once that byte is
// there.
void readWithinCap(QNetworkReply &reply, Transfer &transfer)
{
    transfer.body += reply.read(kMaxPageSize + 1 - transfer.body.size());
    if (transfer.body.size() <= kMaxPageSize)
        return;
    transfer.failure = QStringLiteral("larger than %1 bytes").arg(kMaxPageSize);
    reply.abort();
}

// Names the host whose page was used: after a redirect, the last one.
void logTransfer(const QNetworkReply &reply, const Transfer &transfer, qint64 milliseconds)
{
    const QUrl url = reply.url();
    const QString host = url.port() < 0 ? url.host()
                                        : url.host() + u':' + QString::number(url.port());
    const QString what = QStringLiteral("clan page from %1: HTTP %2, %3 bytes in %4 ms")
                             .arg(host)
                             .arg(reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt())
                             .arg(transfer.body.size())
                             .arg(milliseconds);
    if (transfer.failure.isEmpty())
        qCInfo(lcClan).noquote() << what;
    else
        qCWarning(lcClan).noquote() << what << "- not used:" << transfer.failure;
}

bool namesUtf8(const QByteArray &contentType)
{
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray parameter = parts.at(i).trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return value.toLower() == "utf-8";
    }
    return false;
}

} // namespace

QString decodePage(const QByteArray &body, const QByteArray &contentType)
{
    return namesUtf8(contentType) ? QString::fromUtf8(body) : QString::fromLatin1(body);
}

std::optional<QString> fetchPage(QNetworkAccessManager &manager, const QUrl &url,
                                 std::chrono::milliseconds bound)
{
    if (!url.isValid() || url.host().isEmpty()) {
        qCWarning(lcClan).noquote()
            << "no clan page fetched: no usable address in" << url.toString();
        return std::nullopt;
    }
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    // Little is held unread at a time, and the body is read as it arrives, so that a page beyond
    // the cap is cut off before it takes up more memory than that.
    reply->setReadBufferSize(kReadChunk);
    Transfer transfer;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    // A coarse timer may fire up to 5 % early, and "no answer within" must be true.
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop,
                     [&reply, &transfer] { readWithinCap(*reply, transfer); });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(bound);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!reply->isFinished()) {
        transfer.failure = QStringLiteral("no answer within %1 ms").arg(bound.count());
        reply->abort();
    } else if (transfer.failure.isEmpty()) {
        // HTTP error statuses arrive as errors too.
        if (reply->error() != QNetworkReply::NoError)
            transfer.failure = reply->errorString();
        else
            readWithinCap(*reply, transfer);
    }
    logTransfer(*reply, transfer, clock.elapsed());
    if (!transfer.failure.isEmpty())
        return std::nullopt;
    return decodePage(transfer.body, reply->rawHeader("Content-Type"));
}
