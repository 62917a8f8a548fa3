#include "einvoicesign.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QStringList>
#include <QTime>
#include <QTimeZone>

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/buffer.h>
#include <openssl/cms.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/ess.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/x509.h>

#include <climits>
#include <ctime>
#include <memory>

namespace tarvello::EInvoice
{

namespace
{

Q_LOGGING_CATEGORY(lcSign, "tarvello.invoices")

// OpenSSL's objects, each freed by its own function.
template <auto Free> struct Freer {
    template <typename T> void operator()(T* p) const { Free(p); }
};
template <typename T, auto Free> using Owned = std::unique_ptr<T, Freer<Free>>;

void freeBio(BIO* b)
{
    BIO_free(b);
}
void freeCertificates(STACK_OF(X509) * certs)
{
    sk_X509_pop_free(certs, X509_free);
}

using Bio = Owned<BIO, freeBio>;
using Certificate = Owned<X509, X509_free>;
using Certificates = Owned<STACK_OF(X509), freeCertificates>;
using Key = Owned<EVP_PKEY, EVP_PKEY_free>;
using Pkcs12 = Owned<PKCS12, PKCS12_free>;
using Cms = Owned<CMS_ContentInfo, CMS_ContentInfo_free>;
using SigningCertificate = Owned<ESS_SIGNING_CERT_V2, ESS_SIGNING_CERT_V2_free>;

// A certificate file is a few kilobytes; anything much larger is another file chosen by mistake,
// and is not read into memory whole.
constexpr qint64 largestCertificateFile = 1 << 20;

// What OpenSSL said about the last failure, for the log; its queue is left empty for whoever
// comes next.
QString openSslErrors()
{
    QStringList said;
    char text[256];
    while (const unsigned long e = ERR_get_error()) {
        ERR_error_string_n(e, text, sizeof text);
        said << QString::fromLatin1(text);
    }
    return said.join(QStringLiteral("; "));
}

QByteArray bioBytes(BIO* bio)
{
    BUF_MEM* memory = nullptr;
    BIO_get_mem_ptr(bio, &memory);
    return memory ? QByteArray(memory->data, qsizetype(memory->length)) : QByteArray();
}

Bio readOnlyBio(const QByteArray& bytes)
{
    return Bio(BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
}

// The holder as people know them: the certificate's common name, else its whole subject.
QString holderName(const X509* certificate)
{
    const X509_NAME* subject = X509_get_subject_name(certificate);
    const int at = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (at >= 0) {
        unsigned char* utf8 = nullptr;
        const int length =
            ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at)));
        if (length >= 0) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(utf8), length);
            OPENSSL_free(utf8);
            return name;
        }
    }
    char line[512];
    return QString::fromUtf8(X509_NAME_oneline(subject, line, sizeof line));
}

QDateTime utcTime(const ASN1_TIME* time)
{
    std::tm t{};
    if (!time || ASN1_TIME_to_tm(time, &t) != 1)
        return {};
    return QDateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday), QTime(t.tm_hour, t.tm_min, t.tm_sec),
                     QTimeZone::utc());
}

QString dayText(const QDateTime& utc)
{
    return utc.toLocalTime().date().toString(QStringLiteral("dd/MM/yyyy"));
}

// Certificates exported by older programs (Windows' own among them) protect their contents with
// algorithms OpenSSL 3 keeps in its "legacy" provider. It is loaded only when such a file is met,
// and stays loaded; the default provider is loaded with it, because a provider loaded by hand
// stops the default one from being loaded on its own.
bool loadLegacyAlgorithms()
{
    static const bool loaded = [] {
        const bool withDefault = OSSL_PROVIDER_load(nullptr, "default") != nullptr;
        const bool withLegacy = OSSL_PROVIDER_load(nullptr, "legacy") != nullptr;
        if (!withLegacy)
            qCWarning(lcSign).noquote()
                << QStringLiteral("OpenSSL's legacy algorithms are not available: ") << openSslErrors();
        return withDefault && withLegacy;
    }();
    return loaded;
}

bool passwordOpens(PKCS12* p12, const QByteArray& password)
{
    // Without a MAC there is nothing to check the password against: the decryption will tell.
    if (!PKCS12_mac_present(p12))
        return true;
    // An empty password is written by some programs as no password at all and by others as an
    // empty one; both are tried, as OpenSSL's own parsing does.
    if (password.isEmpty())
        return PKCS12_verify_mac(p12, nullptr, 0) == 1 || PKCS12_verify_mac(p12, "", 0) == 1;
    return PKCS12_verify_mac(p12, password.constData(), int(password.size())) == 1;
}

SignResult refused(SignResult::Outcome outcome, const QString& message)
{
    SignResult r;
    r.outcome = outcome;
    r.message = message;
    return r;
}

// The signed attribute signing-certificate-v2: the SHA-256 hash of the certificate, with its
// issuer and serial number. Without it the signature is CMS, but not CAdES-BES.
bool addSigningCertificate(CMS_SignerInfo* signer, X509* certificate)
{
    const SigningCertificate attribute(
        OSSL_ESS_signing_cert_v2_new_init(EVP_sha256(), certificate, nullptr, 1));
    if (!attribute)
        return false;
    unsigned char* der = nullptr;
    const int length = i2d_ESS_SIGNING_CERT_V2(attribute.get(), &der);
    if (length <= 0)
        return false;
    const int added = CMS_signed_add1_attr_by_NID(signer, NID_id_smime_aa_signingCertificateV2,
                                                  V_ASN1_SEQUENCE, der, length);
    OPENSSL_free(der);
    return added == 1;
}

QByteArray signedData(const QByteArray& xml, X509* certificate, EVP_PKEY* key, STACK_OF(X509) * chain)
{
    // Partial: the signer and its attributes are added before the signature is made. No S/MIME
    // capabilities: they mean nothing to the exchange system.
    const unsigned int flags = CMS_PARTIAL | CMS_NOSMIMECAP;
    const Cms cms(CMS_sign(nullptr, nullptr, chain, nullptr, flags));
    if (!cms)
        return {};
    CMS_SignerInfo* signer = CMS_add1_signer(cms.get(), certificate, key, EVP_sha256(), flags);
    if (!signer || !addSigningCertificate(signer, certificate))
        return {};
    // Content type, message digest and signing time are added here, as the signature is made over
    // the XML, which the structure keeps (it is not detached). Binary: the XML is signed byte for
    // byte as it is, never turned into MIME text with CR LF line ends.
    const Bio content = readOnlyBio(xml);
    if (!content || CMS_final(cms.get(), content.get(), nullptr, CMS_BINARY) != 1)
        return {};
    const Bio out(BIO_new(BIO_s_mem()));
    if (!out || i2d_CMS_bio(out.get(), cms.get()) != 1)
        return {};
    return bioBytes(out.get());
}

VerifyResult notVerified(VerifyResult::Outcome outcome, const QString& message)
{
    VerifyResult r;
    r.outcome = outcome;
    r.message = message;
    return r;
}

// SHA-256 for the digest, and exactly one signing-certificate-v2 that names the certificate the
// signature was checked with.
bool isCadesBes(CMS_SignerInfo* signer)
{
    X509* certificate = nullptr;
    X509_ALGOR* digest = nullptr;
    CMS_SignerInfo_get0_algs(signer, nullptr, &certificate, &digest, nullptr);
    if (!certificate || !digest)
        return false;
    const ASN1_OBJECT* digestObject = nullptr;
    X509_ALGOR_get0(&digestObject, nullptr, nullptr, digest);
    if (OBJ_obj2nid(digestObject) != NID_sha256)
        return false;
    // -3: the attribute must be there exactly once.
    const auto* attribute = static_cast<const ASN1_STRING*>(CMS_signed_get0_data_by_OBJ(
        signer, OBJ_nid2obj(NID_id_smime_aa_signingCertificateV2), -3, V_ASN1_SEQUENCE));
    if (!attribute)
        return false;
    const unsigned char* der = ASN1_STRING_get0_data(attribute);
    const SigningCertificate signingCertificate(
        d2i_ESS_SIGNING_CERT_V2(nullptr, &der, ASN1_STRING_length(attribute)));
    if (!signingCertificate)
        return false;
    const Certificates signerOnly(sk_X509_new_null());
    if (!signerOnly || !X509_up_ref(certificate))
        return false;
    if (sk_X509_push(signerOnly.get(), certificate) <= 0) {
        X509_free(certificate);
        return false;
    }
    return OSSL_ESS_check_signing_certs(nullptr, signingCertificate.get(), signerOnly.get(), 1) == 1;
}

} // namespace

SignResult sign(const QByteArray& xml, const QString& p12Path, const QString& password)
{
    using Outcome = SignResult::Outcome;
    ERR_clear_error();
    const auto leaveNoErrors = qScopeGuard([] { ERR_clear_error(); });

    const QString shownPath = QFileInfo(p12Path).fileName();
    if (!QFileInfo::exists(p12Path))
        return refused(Outcome::FileMissing,
                       QStringLiteral("Il file del certificato «%1» non esiste.\n\n"
                                      "Scegliere il file .p12 o .pfx del certificato di firma.")
                           .arg(shownPath));
    QFile file(p12Path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (!opened || file.size() > largestCertificateFile) {
        qCWarning(lcSign).noquote() << QStringLiteral("certificate file %1 not read: %2")
                                           .arg(p12Path,
                                                opened ? QStringLiteral("too large") : file.errorString());
        return refused(Outcome::FileUnreadable,
                       QStringLiteral("Il file del certificato «%1» non si può leggere.\n\n"
                                      "Controllare che il file sia accessibile e scegliere il file .p12 o "
                                      ".pfx del certificato di firma.")
                           .arg(shownPath));
    }
    const QByteArray bytes = file.readAll();
    const QString notACertificate = QStringLiteral("Il file «%1» non è un certificato di firma leggibile.\n\n"
                                                   "Scegliere il file .p12 o .pfx del certificato di firma.")
                                        .arg(shownPath);
    const unsigned char* der = reinterpret_cast<const unsigned char*>(bytes.constData());
    const Pkcs12 p12(d2i_PKCS12(nullptr, &der, long(bytes.size())));
    if (!p12) {
        qCWarning(lcSign).noquote() << QStringLiteral("%1 is not PKCS#12: %2").arg(p12Path, openSslErrors());
        return refused(Outcome::FileUnreadable, notACertificate);
    }

    // The password lives here only, as long as the file is being opened, and is wiped afterwards.
    QByteArray secret = password.toUtf8();
    const auto forget = qScopeGuard([&secret] { OPENSSL_cleanse(secret.data(), size_t(secret.size())); });
    if (!passwordOpens(p12.get(), secret)) {
        qCWarning(lcSign).noquote() << QStringLiteral("wrong password for the certificate %1").arg(p12Path);
        return refused(Outcome::WrongPassword, QStringLiteral("La password del certificato non è corretta."));
    }
    EVP_PKEY* rawKey = nullptr;
    X509* rawCertificate = nullptr;
    STACK_OF(X509)* rawChain = nullptr;
    bool parsed = PKCS12_parse(p12.get(), secret.constData(), &rawKey, &rawCertificate, &rawChain) == 1;
    if (!parsed) {
        const QString said = openSslErrors();
        if (loadLegacyAlgorithms())
            parsed = PKCS12_parse(p12.get(), secret.constData(), &rawKey, &rawCertificate, &rawChain) == 1;
        if (!parsed) {
            qCWarning(lcSign).noquote()
                << QStringLiteral("%1 cannot be opened: %2 %3").arg(p12Path, said, openSslErrors());
            return refused(Outcome::FileUnreadable, notACertificate);
        }
    }
    const Key key(rawKey);
    const Certificate certificate(rawCertificate);
    const Certificates chain(rawChain);

    if (!key)
        return refused(Outcome::NoPrivateKey,
                       QStringLiteral("Il file del certificato non contiene la chiave privata, che serve per "
                                      "firmare.\n\nEsportare di nuovo il certificato includendo la chiave "
                                      "privata."));
    if (!certificate || X509_check_private_key(certificate.get(), key.get()) != 1)
        return refused(
            Outcome::NoCertificate,
            QStringLiteral("Il file del certificato non contiene il certificato del titolare della "
                           "chiave privata.\n\nEsportare di nuovo il certificato completo."));

    SignResult r;
    r.signer = holderName(certificate.get());
    r.expires = utcTime(X509_get0_notAfter(certificate.get()));
    // X509_cmp_current_time: -1 for a time already past, 1 for one still to come, 0 for an
    // unreadable one, which counts as not valid.
    if (X509_cmp_current_time(X509_get0_notBefore(certificate.get())) != -1) {
        r.outcome = Outcome::CertificateNotValid;
        r.message = QStringLiteral("Il certificato di firma non è ancora valido: lo sarà dal %1.\n\n"
                                   "Controllare la data del computer.")
                        .arg(dayText(utcTime(X509_get0_notBefore(certificate.get()))));
        return r;
    }
    if (X509_cmp_current_time(X509_get0_notAfter(certificate.get())) != 1) {
        r.outcome = Outcome::CertificateExpired;
        r.message = QStringLiteral("Il certificato di firma è scaduto il %1.\n\n"
                                   "Per firmare serve un certificato valido: rinnovarlo presso chi lo ha "
                                   "rilasciato.")
                        .arg(dayText(r.expires));
        return r;
    }

    if (xml.size() > INT_MAX ||
        (r.p7m = signedData(xml, certificate.get(), key.get(), chain.get())).isEmpty()) {
        qCWarning(lcSign).noquote()
            << QStringLiteral("signing with %1 failed: %2").arg(p12Path, openSslErrors());
        r.outcome = Outcome::SigningFailed;
        r.message = QStringLiteral("La firma del documento non è riuscita.");
        return r;
    }
    r.outcome = Outcome::Signed;
    return r;
}

VerifyResult verifySignature(const QByteArray& p7m, const QByteArray& expectedXml)
{
    using Outcome = VerifyResult::Outcome;
    ERR_clear_error();
    const auto leaveNoErrors = qScopeGuard([] { ERR_clear_error(); });

    const QString badSignature = QStringLiteral("La firma del documento non è valida.");
    const QString wrongContent =
        QStringLiteral("Il file firmato non contiene, identica, la fattura elettronica da inviare.");
    const unsigned char* der = reinterpret_cast<const unsigned char*>(p7m.constData());
    const unsigned char* const end = der + p7m.size();
    const Cms cms(d2i_CMS_ContentInfo(nullptr, &der, long(p7m.size())));
    if (!cms || der != end || OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed) {
        qCWarning(lcSign).noquote() << QStringLiteral("not a signed document: %1").arg(openSslErrors());
        return notVerified(
            Outcome::Unreadable,
            QStringLiteral("Il file firmato non si può leggere: non è una firma CAdES (.p7m)."));
    }
    // The exchange system takes the document from inside the signature: one signed apart from it
    // (detached) does not travel with it.
    if (CMS_is_detached(cms.get()) != 0 || OBJ_obj2nid(CMS_get0_eContentType(cms.get())) != NID_pkcs7_data)
        return notVerified(Outcome::WrongContent, wrongContent);

    // The holder's own certificate, carried by the file, is what the signature is checked with;
    // whether an authority vouches for it is the exchange system's business.
    const Bio content(BIO_new(BIO_s_mem()));
    if (!content || CMS_verify(cms.get(), nullptr, nullptr, nullptr, content.get(),
                               CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY) != 1) {
        qCWarning(lcSign).noquote() << QStringLiteral("signature not valid: %1").arg(openSslErrors());
        return notVerified(Outcome::BadSignature, badSignature);
    }
    if (bioBytes(content.get()) != expectedXml)
        return notVerified(Outcome::WrongContent, wrongContent);

    STACK_OF(CMS_SignerInfo)* signers = CMS_get0_SignerInfos(cms.get());
    VerifyResult r;
    for (int i = 0; i < sk_CMS_SignerInfo_num(signers); ++i) {
        CMS_SignerInfo* signer = sk_CMS_SignerInfo_value(signers, i);
        if (!isCadesBes(signer))
            return notVerified(
                Outcome::NotCadesBes,
                QStringLiteral("La firma non è del tipo richiesto per le fatture alla pubblica "
                               "amministrazione (CAdES-BES con SHA-256)."));
        if (r.signer.isEmpty()) {
            X509* certificate = nullptr;
            CMS_SignerInfo_get0_algs(signer, nullptr, &certificate, nullptr, nullptr);
            r.signer = holderName(certificate);
        }
    }
    r.outcome = Outcome::Valid;
    return r;
}

QString signedFileName(QStringView fileName)
{
    return fileName + QStringLiteral(".p7m");
}

} // namespace tarvello::EInvoice
