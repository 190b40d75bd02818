#include "app/prompter.h"

#include "app/appidentity.h"

QString Message::shownTitle() const {
    return title.isEmpty() ? QString::fromLatin1(appidentity::title) : title;
}
