#include "SkinFolderSwitch.h"

#include "contracts/SkinFolderClient.h"
#include "skins/SkinError.h"

#include <exception>
#include <string>

void switchSkinFolder(const std::vector<SkinFolderClient*>& clients, const QString& folder) {
    for (const SkinFolderClient* client : clients)
        if (client != nullptr)
            client->checkSkinFolder(folder);

    std::vector<QString> previous;
    previous.reserve(clients.size());
    for (const SkinFolderClient* client : clients)
        previous.push_back(client != nullptr ? client->currentSkinFolder() : QString());
    for (size_t failed = 0; failed < clients.size(); ++failed) {
        if (clients[failed] == nullptr)
            continue;
        try {
            clients[failed]->ChangeSkinFolder(folder);
        } catch (const std::exception& error) {
            const std::string reason = "Cannot switch to the skin in " + folder.toStdString() + ": " + error.what();
            for (size_t i = 0; i <= failed; ++i) {
                if (clients[i] == nullptr)
                    continue;
                try {
                    clients[i]->restoreSkinFolder(previous[i]);
                } catch (...) {
                    // The folder this window wore a moment ago no longer
                    // loads either; the first error is the one to report.
                }
            }
            throw skins::ESkinError(reason);
        }
    }
}

QString skinFolderFromDefinitionFile(const QString& chosenPath) {
    static const int kDefinitionFileNameLength = QStringLiteral("PlayerA.ini").size();
    return chosenPath.left(qMax(0, chosenPath.size() - kDefinitionFileNameLength));
}
