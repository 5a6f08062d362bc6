#include "widgets/ImageViews.h"

#include <QMouseEvent>
#include <QMovie>

#include <memory>

namespace {
bool IsClick(QWidget &view, QMouseEvent &event) {
    return event.button() == Qt::LeftButton && view.rect().contains(event.position().toPoint());
}
} // namespace

TImageView::TImageView(QWidget *parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImageView::SetPicture(const QPixmap &picture) {
    setPixmap(picture);
    resize(picture.deviceIndependentSize().toSize());
}

void TImageView::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (IsClick(*this, *event))
        emit Clicked();
}

TGifView::TGifView(QWidget *parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

bool TGifView::LoadFromFile(const QString &fileName) {
    auto movie = std::make_unique<QMovie>(fileName);
    // A readable header is not enough: the first frame must decode.
    if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull())
        return false;
    if (FMovie) {
        FMovie->stop();
        FMovie->deleteLater();
    }
    movie->setParent(this);
    FMovie = movie.release();
    setMovie(FMovie);
    resize(FMovie->currentPixmap().deviceIndependentSize().toSize());
    FMovie->start();
    return true;
}

void TGifView::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (IsClick(*this, *event))
        emit Clicked();
}
