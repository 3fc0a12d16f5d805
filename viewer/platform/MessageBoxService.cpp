#include "platform/MessageBoxService.h"

MessageBoxService::~MessageBoxService() = default;

MessageBoxService::Answer MessageBoxService::defaultAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
        case Buttons::RetryCancel:
            return Answer::Retry;
    }
    return Answer::Ok;
}
