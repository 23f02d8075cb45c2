#include "ide/shell/BitmapKeyed.h"

#include "ide/shell/ObjectNames.h"

#include <algorithm>

namespace zov::shell {

CBitmapKeyed::CBitmapKeyed(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

bool CBitmapKeyed::CreateFromPlaceholder(QWidget* parent, int placeholderId, const QString& imageResource)
{
    const QPixmap image(imageResource);
    if (image.isNull())
        return false;
    return CreateFromPlaceholder(parent, placeholderId, image);
}

bool CBitmapKeyed::CreateFromPlaceholder(QWidget* parent, int placeholderId, const QPixmap& image)
{
    if (image.isNull())
        return false;
    QWidget* placeholder = nullptr;
    if (placeholderId != 0 && parent != nullptr) {
        placeholder = FindControl(*parent, placeholderId);
        if (placeholder != nullptr)
            placeholder->hide();
    }
    image_ = image;
    setPixmap(image_);
    if (placeholder != nullptr) {
        const QRect place = placeholder->geometry();
        // The placeholder keeps no name: the id is this control's now.
        placeholder->setObjectName(QString());
        setParent(parent);
        SetControlId(*this, placeholderId);
        setGeometry(place.x(), place.y(), std::max(place.width(), place.height()), place.height());
        show();
    }
    if (!tooltipText_.isEmpty())
        setToolTip(tooltipText_);
    return true;
}

}  // namespace zov::shell
