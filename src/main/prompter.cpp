#include "main/prompter.h"

#include "main/appidentity.h"

QString Message::shownTitle() const {
    return title.isEmpty() ? QString::fromLatin1(appidentity::title) : title;
}
