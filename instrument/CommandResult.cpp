#include "CommandResult.h"

namespace zeb {

CmdResult CmdResult::Of(ExchangeOutcome outcome) {
    switch (outcome) {
        case ExchangeOutcome::Acknowledged:
            return {};
        case ExchangeOutcome::NoAck:
        case ExchangeOutcome::BadBcc:  // a reply that cannot be trusted is no answer
            return {CmdStatus::NoAck, QString()};
        case ExchangeOutcome::Timeout:
            return {CmdStatus::Timeout, QString()};
        case ExchangeOutcome::LinkLost:
            break;
    }
    return {CmdStatus::LinkLost, QString()};
}

}  // namespace zeb
