// Signing an electronic invoice for a public administration: a certificate of our own making in a
// PKCS#12 file, the .p7m checked by the openssl command and by the program's own check, what the
// signature must carry to be CAdES-BES, and what the user is told when the certificate file will
// not sign.
#include "files.h"
#include "invoices/einvoicesign.h"

#include "logcapture.h"
#include "qstringprinter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/rsa.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include <functional>
#include <memory>
#include <set>

using namespace tarvello::EInvoice;

namespace
{

template <auto Free> struct Freer {
    template <typename T> void operator()(T* p) const { Free(p); }
};
template <typename T, auto Free> using Owned = std::unique_ptr<T, Freer<Free>>;
using Key = Owned<EVP_PKEY, EVP_PKEY_free>;
using Certificate = Owned<X509, X509_free>;
using Cms = Owned<CMS_ContentInfo, CMS_ContentInfo_free>;
void freeCertificates(STACK_OF(X509) * certs)
{
    sk_X509_pop_free(certs, X509_free);
}
using Certificates = Owned<STACK_OF(X509), freeCertificates>;

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// A document for a public administration as the program writes it: UTF-8 with accented letters,
// and line ends of both kinds, which a signature made as MIME text would turn into CR LF.
QByteArray invoiceXml()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<p:FatturaElettronica versione=\"FPA12\" "
        "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">\n"
        "  <FatturaElettronicaHeader><DatiTrasmissione><CodiceDestinatario>UFABCD</CodiceDestinatario>"
        "</DatiTrasmissione>\r\n"
        "  <CedentePrestatore><Sede><Comune>Forl\xc3\xac</Comune></Sede></CedentePrestatore>\n"
        "  </FatturaElettronicaHeader>\n"
        "</p:FatturaElettronica>\n");
}

// The password holds an accented letter: it goes to the file as UTF-8, both ways.
QString password()
{
    return q(u"Sègreta-2026");
}

// The holder's certificate is issued by a certification authority of our own, whose certificate
// travels in the PKCS#12 file as the chain. Times at noon UTC name the same day in every time zone
// the tests run in.
struct Pki {
    Key authorityKey;
    Key holderKey;
    Certificate authority;
    Certificate holder;
    Certificate expired;
    Certificate notYetValid;
};

Certificate makeCertificate(const char* commonName, long serial, EVP_PKEY* key, const char* notBefore,
                            const char* notAfter, X509* issuer, EVP_PKEY* issuerKey)
{
    Certificate c(X509_new());
    X509_NAME* subject = X509_get_subject_name(c.get());
    const bool made =
        X509_set_version(c.get(), X509_VERSION_3) == 1 &&
        ASN1_INTEGER_set(X509_get_serialNumber(c.get()), serial) == 1 &&
        X509_NAME_add_entry_by_txt(subject, "C", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("IT"),
                                   -1, -1, 0) == 1 &&
        X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0) == 1 &&
        X509_set_issuer_name(c.get(), issuer ? X509_get_subject_name(issuer) : subject) == 1 &&
        ASN1_TIME_set_string_X509(X509_getm_notBefore(c.get()), notBefore) == 1 &&
        ASN1_TIME_set_string_X509(X509_getm_notAfter(c.get()), notAfter) == 1 &&
        X509_set_pubkey(c.get(), key) == 1 && X509_sign(c.get(), issuerKey, EVP_sha256()) > 0;
    return made ? std::move(c) : nullptr;
}

const Pki& pki()
{
    static const Pki made = [] {
        Pki p;
        p.authorityKey.reset(EVP_RSA_gen(2048));
        p.holderKey.reset(EVP_RSA_gen(2048));
        p.authority = makeCertificate("Autorità di prova", 1, p.authorityKey.get(), "20200101120000Z",
                                      "20991231120000Z", nullptr, p.authorityKey.get());
        const auto holder = [&](const char* from, const char* to, long serial) {
            return makeCertificate("Mario Rossi", serial, p.holderKey.get(), from, to, p.authority.get(),
                                   p.authorityKey.get());
        };
        p.holder = holder("20200101120000Z", "20991231120000Z", 2);
        p.expired = holder("20200615120000Z", "20210615120000Z", 3);
        p.notYetValid = holder("20980615120000Z", "20990615120000Z", 4);
        return p;
    }();
    return made;
}

// A PKCS#12 file as a certification authority hands it out: key, certificate and chain (OpenSSL's
// defaults: AES-256 and a SHA-256 MAC). Either key or certificate may be left out.
bool writeP12(const QString& path, EVP_PKEY* key, X509* certificate)
{
    const Certificates chain(sk_X509_new_null());
    if (!chain || !X509_up_ref(pki().authority.get()))
        return false;
    sk_X509_push(chain.get(), pki().authority.get());
    const QByteArray secret = password().toUtf8();
    const Owned<PKCS12, PKCS12_free> p12(
        PKCS12_create(secret.constData(), "Mario Rossi", key, certificate, chain.get(), 0, 0, 0, 0, 0));
    if (!p12)
        return false;
    unsigned char* der = nullptr;
    const int length = i2d_PKCS12(p12.get(), &der);
    const bool written =
        length > 0 && writeFile(path, QByteArray(reinterpret_cast<const char*>(der), length));
    OPENSSL_free(der);
    return written;
}

template <typename Write> bool writePem(const QString& path, Write write)
{
    const Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
    if (!bio || write(bio.get()) != 1)
        return false;
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return writeFile(path, QByteArray(data, length));
}

struct Ran {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Ran openssl(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("openssl"), arguments);
    Ran r;
    if (!p.waitForFinished(60000)) {
        r.err = QStringLiteral("openssl did not run: ") + p.errorString();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class Signing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(pki().holder && pki().expired && pki().notYetValid);
        ASSERT_TRUE(writeP12(p12, pki().holderKey.get(), pki().holder.get()));
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // The holder's certificate and key, and the authority's certificate, as PEM files for the
    // openssl command.
    bool writePemFiles() const
    {
        return writePem(certificatePem, [](BIO* b) { return PEM_write_bio_X509(b, pki().holder.get()); }) &&
               writePem(authorityPem, [](BIO* b) { return PEM_write_bio_X509(b, pki().authority.get()); }) &&
               writePem(keyPem, [](BIO* b) {
                   return PEM_write_bio_PrivateKey(b, pki().holderKey.get(), nullptr, nullptr, 0, nullptr,
                                                   nullptr);
               });
    }

    QTemporaryDir dir;
    const QString p12 = path("firma.p12");
    const QString certificatePem = path("titolare.pem");
    const QString keyPem = path("titolare.key");
    const QString authorityPem = path("autorita.pem");
};

TEST(SignedFileName, AddsP7mToTheDocumentsName)
{
    EXPECT_EQ(signedFileName(u"IT01234567897_0000A.xml"), QStringLiteral("IT01234567897_0000A.xml.p7m"));
}

// The .p7m as anyone else reads it: the openssl command takes the document out of it byte for
// byte, and the structure is what CAdES-BES asks for.
TEST_F(Signing, MakesAnAttachedCadesBesSignatureThatOpenSslVerifies)
{
    const QByteArray xml = invoiceXml();
    const SignResult r = sign(xml, p12, password());
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.signer, QStringLiteral("Mario Rossi"));
    EXPECT_EQ(r.expires, QDateTime(QDate(2099, 12, 31), QTime(12, 0), QTimeZone::utc()));
    EXPECT_TRUE(r.message.isEmpty());

    const QString signedFile = path("IT01234567897_0000A.xml.p7m");
    const QString out = path("estratto.xml");
    ASSERT_TRUE(writeFile(signedFile, r.p7m));
    const Ran verified = openssl({QStringLiteral("cms"), QStringLiteral("-verify"), QStringLiteral("-inform"),
                                  QStringLiteral("DER"), QStringLiteral("-noverify"), QStringLiteral("-in"),
                                  signedFile, QStringLiteral("-out"), out});
    ASSERT_EQ(verified.exitCode, 0) << verified.err.toStdString();
    EXPECT_EQ(fileBytes(out), xml);

    const unsigned char* der = reinterpret_cast<const unsigned char*>(r.p7m.constData());
    const Cms cms(d2i_CMS_ContentInfo(nullptr, &der, long(r.p7m.size())));
    ASSERT_TRUE(cms);
    EXPECT_EQ(OBJ_obj2nid(CMS_get0_type(cms.get())), NID_pkcs7_signed);
    EXPECT_EQ(CMS_is_detached(cms.get()), 0);
    EXPECT_EQ(OBJ_obj2nid(CMS_get0_eContentType(cms.get())), NID_pkcs7_data);

    // The holder's certificate and the chain travel with the signature.
    const Certificates carried(CMS_get1_certs(cms.get()));
    ASSERT_TRUE(carried);
    std::set<long> serials;
    for (int i = 0; i < sk_X509_num(carried.get()); ++i)
        serials.insert(ASN1_INTEGER_get(X509_get0_serialNumber(sk_X509_value(carried.get(), i))));
    EXPECT_EQ(serials, (std::set<long>{1, 2}));

    STACK_OF(CMS_SignerInfo)* signers = CMS_get0_SignerInfos(cms.get());
    ASSERT_EQ(sk_CMS_SignerInfo_num(signers), 1);
    CMS_SignerInfo* signer = sk_CMS_SignerInfo_value(signers, 0);
    EXPECT_EQ(CMS_SignerInfo_cert_cmp(signer, pki().holder.get()), 0);
    X509_ALGOR* digest = nullptr;
    CMS_SignerInfo_get0_algs(signer, nullptr, nullptr, &digest, nullptr);
    const ASN1_OBJECT* digestObject = nullptr;
    X509_ALGOR_get0(&digestObject, nullptr, nullptr, digest);
    EXPECT_EQ(OBJ_obj2nid(digestObject), NID_sha256);

    std::set<int> attributes;
    for (int i = 0; i < CMS_signed_get_attr_count(signer); ++i)
        attributes.insert(OBJ_obj2nid(X509_ATTRIBUTE_get0_object(CMS_signed_get_attr(signer, i))));
    EXPECT_EQ(attributes, (std::set<int>{NID_pkcs9_contentType, NID_pkcs9_messageDigest,
                                         NID_pkcs9_signingTime, NID_id_smime_aa_signingCertificateV2}));

    // signing-certificate-v2 holds the SHA-256 of the holder's certificate, not of another one.
    const auto* ess = static_cast<const ASN1_STRING*>(CMS_signed_get0_data_by_OBJ(
        signer, OBJ_nid2obj(NID_id_smime_aa_signingCertificateV2), -3, V_ASN1_SEQUENCE));
    ASSERT_TRUE(ess);
    const QByteArray essDer(reinterpret_cast<const char*>(ASN1_STRING_get0_data(ess)),
                            ASN1_STRING_length(ess));
    const auto hashOf = [](X509* c) {
        unsigned char* certificateDer = nullptr;
        const int length = i2d_X509(c, &certificateDer);
        unsigned char hash[SHA256_DIGEST_LENGTH];
        SHA256(certificateDer, size_t(length), hash);
        OPENSSL_free(certificateDer);
        return QByteArray(reinterpret_cast<const char*>(hash), SHA256_DIGEST_LENGTH);
    };
    EXPECT_TRUE(essDer.contains(hashOf(pki().holder.get())));
    EXPECT_FALSE(essDer.contains(hashOf(pki().authority.get())));

    const VerifyResult v = verifySignature(r.p7m, xml);
    EXPECT_TRUE(v.ok()) << v.message.toStdString();
    EXPECT_EQ(v.signer, QStringLiteral("Mario Rossi"));
}

// A .pfx exported by older programs protects the certificate with RC2 and the key with triple DES,
// which OpenSSL 3 keeps among its legacy algorithms.
TEST_F(Signing, ReadsACertificateFileOfOlderPrograms)
{
    ASSERT_TRUE(writePemFiles());
    const QString legacy = path("vecchio.pfx");
    const Ran made = openssl({QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-legacy"),
                              QStringLiteral("-in"), certificatePem, QStringLiteral("-inkey"), keyPem,
                              QStringLiteral("-certfile"), authorityPem, QStringLiteral("-out"), legacy,
                              QStringLiteral("-passout"), QStringLiteral("pass:") + password()});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const Ran info = openssl({QStringLiteral("pkcs12"), QStringLiteral("-info"), QStringLiteral("-noout"),
                              QStringLiteral("-legacy"), QStringLiteral("-in"), legacy,
                              QStringLiteral("-passin"), QStringLiteral("pass:") + password()});
    ASSERT_TRUE(info.err.contains(QStringLiteral("RC2"))) << info.err.toStdString();

    const SignResult r = sign(invoiceXml(), legacy, password());
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_TRUE(verifySignature(r.p7m, invoiceXml()).ok());
}

// What the user is told when the file will not sign; and the password is never in the log.
TEST_F(Signing, TellsWhyTheCertificateFileDoesNotSign)
{
    const QString againFile = QStringLiteral("\n\nScegliere il file .p12 o .pfx del certificato di firma.");
    struct Case {
        const char* name;
        std::function<bool(const QString&)> prepare; // writes the file the case is about
        QString password;
        SignResult::Outcome outcome;
        QString message;
    };
    const std::vector<Case> cases = {
        {"missing.p12", [](const QString&) { return true; }, password(), SignResult::Outcome::FileMissing,
         QStringLiteral("Il file del certificato «missing.p12» non esiste.") + againFile},
        {"testo.p12", [](const QString& p) { return writeFile(p, "non sono un certificato\n"); }, password(),
         SignResult::Outcome::FileUnreadable,
         q(u"Il file «testo.p12» non è un certificato di firma leggibile.") + againFile},
        {"password.p12",
         [](const QString& p) { return writeP12(p, pki().holderKey.get(), pki().holder.get()); },
         QStringLiteral("segreta-2026"), SignResult::Outcome::WrongPassword,
         q(u"La password del certificato non è corretta.")},
        {"solocertificato.p12", [](const QString& p) { return writeP12(p, nullptr, pki().holder.get()); },
         password(), SignResult::Outcome::NoPrivateKey,
         QStringLiteral("Il file del certificato non contiene la chiave privata, che serve per firmare.\n\n"
                        "Esportare di nuovo il certificato includendo la chiave privata.")},
        {"solochiave.p12", [](const QString& p) { return writeP12(p, pki().holderKey.get(), nullptr); },
         password(), SignResult::Outcome::NoCertificate,
         QStringLiteral(
             "Il file del certificato non contiene il certificato del titolare della chiave privata."
             "\n\nEsportare di nuovo il certificato completo.")},
        {"scaduto.p12",
         [](const QString& p) { return writeP12(p, pki().holderKey.get(), pki().expired.get()); }, password(),
         SignResult::Outcome::CertificateExpired,
         q(u"Il certificato di firma è scaduto il 15/06/2021.\n\n"
           u"Per firmare serve un certificato valido: rinnovarlo presso chi lo ha rilasciato.")},
        {"futuro.p12",
         [](const QString& p) { return writeP12(p, pki().holderKey.get(), pki().notYetValid.get()); },
         password(), SignResult::Outcome::CertificateNotValid,
         q(u"Il certificato di firma non è ancora valido: lo sarà dal 15/06/2098.\n\n"
           u"Controllare la data del computer.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(c.name);
        ASSERT_TRUE(c.prepare(file));
        SignResult r;
        const auto log = logOf([&] { r = sign(invoiceXml(), file, c.password); });
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(r.p7m.isEmpty());
        for (const LogLine& line : log) {
            EXPECT_FALSE(line.text.contains(c.password, Qt::CaseInsensitive)) << line.text.toStdString();
            EXPECT_FALSE(line.text.contains(password(), Qt::CaseInsensitive)) << line.text.toStdString();
        }
    }
}

// The program's own check before it says "signed": a document changed by one byte, a signature
// changed by one byte, another document, and signatures the exchange system would refuse.
TEST_F(Signing, VerifyRefusesWhatIsNotTheDocumentSignedAsCadesBes)
{
    const QByteArray xml = invoiceXml();
    const SignResult ours = sign(xml, p12, password());
    ASSERT_TRUE(ours.ok()) << ours.message.toStdString();
    const qsizetype contentAt = ours.p7m.indexOf(xml);
    ASSERT_GE(contentAt, 0);

    // Signatures made by the openssl command, which (in OpenSSL 3.0) adds no signing-certificate-v2.
    const QString document = path("fattura.xml");
    ASSERT_TRUE(writePemFiles());
    ASSERT_TRUE(writeFile(document, xml));
    const auto signedByCommand = [&](const QStringList& options) {
        const QString out = path("comando.p7m");
        QStringList arguments{QStringLiteral("cms"),
                              QStringLiteral("-sign"),
                              QStringLiteral("-binary"),
                              QStringLiteral("-outform"),
                              QStringLiteral("DER"),
                              QStringLiteral("-signer"),
                              certificatePem,
                              QStringLiteral("-inkey"),
                              keyPem,
                              QStringLiteral("-in"),
                              document,
                              QStringLiteral("-out"),
                              out};
        arguments += options;
        const Ran r = openssl(arguments);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return fileBytes(out);
    };

    const QString unreadable =
        QStringLiteral("Il file firmato non si può leggere: non è una firma CAdES (.p7m).");
    const QString wrongContent =
        q(u"Il file firmato non contiene, identica, la fattura elettronica da inviare.");
    const QString badSignature = q(u"La firma del documento non è valida.");
    const QString notCades =
        q(u"La firma non è del tipo richiesto per le fatture alla pubblica amministrazione "
          u"(CAdES-BES con SHA-256).");
    QByteArray changedContent = ours.p7m;
    changedContent[contentAt + xml.indexOf("Forl")] = 'f';
    QByteArray changedSignature = ours.p7m;
    changedSignature[changedSignature.size() - 1] = char(changedSignature.back() ^ 0x01);
    QByteArray otherXml = xml;
    otherXml.replace("UFABCD", "UFABCE");

    struct Case {
        const char* name;
        QByteArray p7m;
        QByteArray expected;
        VerifyResult::Outcome outcome;
        QString message;
    };
    const std::vector<Case> cases = {
        {"one byte of the document changed", changedContent, xml, VerifyResult::Outcome::BadSignature,
         badSignature},
        {"one byte of the signature changed", changedSignature, xml, VerifyResult::Outcome::BadSignature,
         badSignature},
        {"another document expected", ours.p7m, otherXml, VerifyResult::Outcome::WrongContent, wrongContent},
        {"cut short", ours.p7m.left(ours.p7m.size() / 2), xml, VerifyResult::Outcome::Unreadable, unreadable},
        {"the document itself", xml, xml, VerifyResult::Outcome::Unreadable, unreadable},
        {"signed apart from the document", signedByCommand({}), xml, VerifyResult::Outcome::WrongContent,
         wrongContent},
        {"without signing-certificate-v2",
         signedByCommand({QStringLiteral("-nodetach"), QStringLiteral("-md"), QStringLiteral("sha256")}), xml,
         VerifyResult::Outcome::NotCadesBes, notCades},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VerifyResult v = verifySignature(c.p7m, c.expected);
        EXPECT_EQ(v.outcome, c.outcome);
        EXPECT_EQ(v.message, c.message);
    }
}

} // namespace
