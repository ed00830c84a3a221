#include "accounts/background_request.h"

namespace fernwick {

void SignInInBackground(const AccountServices& services, std::shared_ptr<UiTaskChannel> channel, AccountEntry account,
                        std::function<void(SignInAnswer)> answered) {
  // The worker keeps its own copy of the services: the asker may be gone before it ends.
  AskInBackground<SignInAnswer>(
      services.spawn, std::move(channel),
      [services, account = std::move(account)] { return services.AskSignIn(account); }, std::move(answered));
}

}  // namespace fernwick
