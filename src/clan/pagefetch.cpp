#include "clan/pagefetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

namespace {

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
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    const std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(bound);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!reply->isFinished()) {
        reply->abort();
        return std::nullopt;
    }
    // HTTP error statuses arrive as errors too.
    if (reply->error() != QNetworkReply::NoError)
        return std::nullopt;
    return decodePage(reply->readAll(), reply->rawHeader("Content-Type"));
}
