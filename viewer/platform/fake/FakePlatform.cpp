#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeChart.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"

namespace {

// A fake that is on its list from birth to death.
template <class Fake>
class Listed : public Fake {
  public:
    template <class... Arguments>
    explicit Listed(const std::shared_ptr<QList<Fake*>>& list, Arguments&&... arguments)
        : Fake(std::forward<Arguments>(arguments)...), m_list(list) {
        list->append(this);
    }
    ~Listed() override {
        if (const auto list = m_list.lock()) {
            list->removeOne(this);
        }
    }
    Listed(const Listed&) = delete;
    Listed& operator=(const Listed&) = delete;

  private:
    std::weak_ptr<QList<Fake*>> m_list;
};

}  // namespace

FakePlatform::FakePlatform()
    : m_players(std::make_shared<QList<FakeMediaPlayer*>>()),
      m_browsers(std::make_shared<QList<FakeMapBrowser*>>()),
      m_skins(std::make_shared<QList<FakeSkinHost*>>()),
      m_charts(std::make_shared<QList<FakeChart*>>()) {
    m_services.messageBoxes = &messageBoxes;
    m_services.fileDialogs = &fileDialogs;
    m_services.processes = &processes;
    m_services.urls = &urls;
    m_services.waits = &waits;
    m_services.makeMediaPlayer = [players = m_players](QWidget* parent) {
        return std::unique_ptr<MediaPlayer>(
            std::make_unique<Listed<FakeMediaPlayer>>(players, parent));
    };
    m_services.makeMapBrowser = [browsers = m_browsers](QWidget*) {
        return std::unique_ptr<MapBrowser>(std::make_unique<Listed<FakeMapBrowser>>(browsers));
    };
    m_services.makeChart = [charts = m_charts](QWidget*) {
        return std::unique_ptr<Chart>(std::make_unique<Listed<FakeChart>>(charts));
    };
    m_services.makeSkinHost = [skins = m_skins]() {
        return std::unique_ptr<SkinHost>(std::make_unique<Listed<FakeSkinHost>>(skins));
    };
}
