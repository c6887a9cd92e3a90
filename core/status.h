// Small error values used across module boundaries instead of exceptions.
// A Status is ok or carries a message; a Result<T> adds a value on success.
#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace vx {

class [[nodiscard]] Status {
public:
    static Status ok() { return Status(); }
    static Status error(QString message) { return Status(std::move(message)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return isOk(); }
    const QString& message() const { return m_message; }

private:
    Status() = default;
    explicit Status(QString message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    QString m_message;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)), m_status(Status::ok()) {}  // NOLINT: implicit
    Result(Status failure) : m_status(std::move(failure)) {}                // NOLINT: implicit

    bool isOk() const { return m_value.has_value(); }
    explicit operator bool() const { return isOk(); }
    const Status& status() const { return m_status; }
    const QString& message() const { return m_status.message(); }
    // Only valid when isOk().
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }

private:
    std::optional<T> m_value;
    Status m_status;
};

}  // namespace vx
