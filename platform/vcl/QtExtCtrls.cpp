// The toolkit side of TTimer: a QTimer that calls back into the class library.
#include "platform/vcl/ExtCtrls.h"

#include <QTimer>

namespace {

class TQtTicker : public TTimerTicker {
public:
    explicit TQtTicker(std::function<void()> onTick) : m_onTick(std::move(onTick)), m_timer(new QTimer) {
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { Tick(); });
    }
    ~TQtTicker() override {
        m_timer->stop();
        m_timer->disconnect();
        // Freed from inside its own tick (the handler freed the timer): let Qt finish first.
        if (m_depth > 0) m_timer->deleteLater();
        else delete m_timer;
        if (m_alive != nullptr) *m_alive = false;
    }
    void Start(int IntervalMs) override { m_timer->start(IntervalMs); }
    void Stop() override { m_timer->stop(); }

private:
    // Ticks nest when a handler runs a message loop; each level learns if the ticker died.
    void Tick() {
        bool alive = true;
        bool* outer = m_alive;
        m_alive = &alive;
        ++m_depth;
        std::function<void()> call = m_onTick;
        try {
            call();
        } catch (...) {
            // The class library's barrier handles its own; nothing may unwind into Qt.
        }
        if (!alive) {
            if (outer != nullptr) *outer = false;
            return;
        }
        --m_depth;
        m_alive = outer;
    }

    std::function<void()> m_onTick;
    QTimer* m_timer;
    int m_depth = 0;
    bool* m_alive = nullptr;
};

}  // namespace

std::unique_ptr<TTimerTicker> CreateTimerTicker(std::function<void()> OnTick) {
    return std::make_unique<TQtTicker>(std::move(OnTick));
}
