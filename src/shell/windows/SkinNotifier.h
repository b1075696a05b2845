#pragma once
// The skin-change notifier: the skin window hands every background choice to the one notifier
// of the process, which passes a copy of it to each attached receiver in the order they were
// attached. Neither side owns the other; a receiver leaves every notifier when it goes.

#include <QString>
#include <cstdint>
#include <map>

namespace shell {

// A background choice. The colour is 0xAARRGGBB and counts only when isColour is 1; otherwise
// imagePath is an image relative to the skin folder or an absolute file path.
struct SkinChangedParam {
    std::uint8_t isColour = 0;
    std::uint32_t colour = 0;
    QString imagePath;
};

template <class ReturnT, class ParamT> class ReceiverImplBase;

template <class ReturnT, class ParamT> class ObserverImplBase {
public:
    virtual ~ObserverImplBase() = default;
    virtual void Attach(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
    virtual void Detach(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
    virtual ReturnT DeliverAll(ParamT param) = 0;
    virtual ReturnT QueryAll(ParamT param) = 0;
};

template <class ReturnT, class ParamT> class ReceiverImplBase {
public:
    virtual ~ReceiverImplBase() = default;
    virtual int OnNotifierAdded(ObserverImplBase<ReturnT, ParamT>* notifier) = 0;
    virtual void DetachFromAll() = 0;
    virtual ReturnT OnSkinChanged(ParamT param) = 0;
    virtual ReturnT OnQuery(ParamT param, ObserverImplBase<ReturnT, ParamT>* notifier) = 0;
};

template <class ReturnT, class ParamT>
class ObserverImpl : public ObserverImplBase<ReturnT, ParamT> {
public:
    using Receiver = ReceiverImplBase<ReturnT, ParamT>;

    void Attach(Receiver* receiver) override {
        if (!receiver)
            return;
        m_receivers[m_count] = receiver;
        receiver->OnNotifierAdded(this);
        ++m_count;
    }
    void Detach(Receiver* receiver) override {
        if (!receiver)
            return;
        for (auto it = m_receivers.begin(); it != m_receivers.end(); ++it) {
            if (it->second == receiver) {
                m_receivers.erase(it);
                return;
            }
        }
    }
    ReturnT DeliverAll(ParamT param) override {
        // A receiver may detach itself while it is told; walk a snapshot.
        const auto receivers = m_receivers;
        for (const auto& [number, receiver] : receivers)
            receiver->OnSkinChanged(param);
        return ReturnT{};
    }
    ReturnT QueryAll(ParamT param) override {
        const auto receivers = m_receivers;
        for (const auto& [number, receiver] : receivers)
            receiver->OnQuery(param, this);
        return ReturnT{};
    }
    std::size_t ReceiverCount() const { return m_receivers.size(); }

private:
    std::map<std::int32_t, Receiver*> m_receivers;
    std::int32_t m_count = 0;
};

template <class ReturnT, class ParamT>
class ReceiverImpl : public ReceiverImplBase<ReturnT, ParamT> {
public:
    using Notifier = ObserverImplBase<ReturnT, ParamT>;

    ReceiverImpl() = default;
    ReceiverImpl(const ReceiverImpl&) = delete;
    ReceiverImpl& operator=(const ReceiverImpl&) = delete;
    // A receiver that goes leaves its notifiers, so none calls it afterwards.
    ~ReceiverImpl() override { ReceiverImpl::DetachFromAll(); }

    int OnNotifierAdded(Notifier* notifier) override {
        m_notifiers[m_count] = notifier;
        ++m_count;
        return m_count;
    }
    void DetachFromAll() override {
        const auto notifiers = m_notifiers;
        for (const auto& [number, notifier] : notifiers)
            notifier->Detach(this);
    }
    ReturnT OnSkinChanged(ParamT) override { return ReturnT{}; }
    ReturnT OnQuery(ParamT, Notifier*) override { return ReturnT{}; }

private:
    std::map<std::int32_t, Notifier*> m_notifiers;
    std::int32_t m_count = 0;
};

using SkinChangedNotifier = ObserverImpl<int, SkinChangedParam>;
using SkinChangedReceiver = ReceiverImpl<int, SkinChangedParam>;

// The notifier of the process: made on first use, kept until the process ends.
SkinChangedNotifier& SkinNotifier();

} // namespace shell
